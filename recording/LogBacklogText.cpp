#include "recording/LogBacklogText.h"

std::string LogBacklogStatus(std::size_t waiting)
{
    return " Zapis do pliku wstrzymany: " + std::to_string(waiting) + " wyników czeka.";
}
