#pragma once

// Every text the program's code shows to the user (messages, status line, captions and labels it
// sets, and their formats), in UTF-8, so that a translation is this file and the resource script.
// The log file's own texts (its header, "???") are part of the file format and stay with it.

namespace texts
{

// A panel without a valid reading.
constexpr char NO_READING[] = "???";

// Status line. The formats take the model ("QM-700"/"QM-701") and the meter's number.
constexpr char LINK_LOST[] = "Brak łączności z przyrządem.";
constexpr char STATUS_MEASUREMENT_ERROR[] = "%s numer %d. Błąd pomiaru!";
constexpr char STATUS_CALIBRATION_ERROR[] = "%s numer %d. Błąd kalibracji!";
constexpr char STATUS_OK[] = "%s numer %d. Pomiar prawidłowy.";
constexpr char STATUS_TWO_CHANNELS[] = " Dostępne dwa kanały pomiarów.";
constexpr char STATUS_ONE_CHANNEL[] = " Dostępny jeden kanał pomiarów.";
// Hours, minutes, seconds of the log interval.
constexpr char STATUS_RECORDING[] = " Rejestracja do pliku co %02d:%02d:%02d.";
// The port's number.
constexpr char STATUS_RECONNECTING[] = " Ponawiam połączenie z portem COM%d.";
// The number of records waiting.
constexpr char STATUS_LOG_BACKLOG[] = " Zapis do pliku wstrzymany: %d wyników czeka.";
// The number of the oldest records dropped because too many waited.
constexpr char STATUS_LOG_DROPPED[] = " Pominięto najstarsze wyniki: %d.";

// The serial port.
constexpr char PORT_OPEN_FAILED[] = "Nie można otworzyć portu COM"; // + the port's number
constexpr char PORT_IN_USE[] = "Aktualnie używany port: COM";       // + the port's number
constexpr char NO_PORT_IN_USE[] = "Aktualnie żaden port nie jest używany";
constexpr char NO_PORT_CHOSEN[] = "Nie wybrano żadnego portu.";

// The units dialog. The meter's number goes between the first two parts, its unit after them.
constexpr char METER_UNIT_BEFORE_NUMBER[] = "Miernik QM-700 nr ";
constexpr char METER_UNIT_AFTER_NUMBER[] = " przesyła wynik wyrażony w jednostkach ";
constexpr char K_NOT_POSITIVE[] = "Wartość współczynnika K powinna być większa od zera";

// Recording.
constexpr char LOG_UNAVAILABLE[] = "Wybrany plik rejestracji wyników pomiaru jest niedostępny.";
constexpr char LOG_APPEND_OR_EMPTY[] =
    "Plik rejestracji pomiarów już istnieje.\r\nWybierz Tak aby dopisywać wyniki do "
    "poprzednich,\r\nwybierz Nie aby skasować poprzednią zawartość pliku.";
// The path and the system's error code go between the parts.
constexpr char LOG_WRITE_FAILED_PATH[] = "Nie można zapisać wyniku pomiaru w pliku ";
constexpr char LOG_WRITE_FAILED_CODE[] = " (błąd ";
constexpr char LOG_WRITE_FAILED_END[] = "). Ten wynik nie został zapisany.";
// Added to the message above: nothing is lost while the program runs.
constexpr char LOG_WRITE_WILL_RETRY[] =
    "\r\nWyniki czekają w pamięci i zostaną dopisane do pliku, gdy znów będzie to możliwe.";
// The path and the system's error code go between the parts.
constexpr char LOG_EMPTY_FAILED_PATH[] = "Nie można skasować poprzedniej zawartości pliku ";
constexpr char LOG_EMPTY_FAILED_END[] =
    "). Wyniki zostaną zapisane do pliku, gdy skasowanie się powiedzie.";
// The number of records, then the path.
constexpr char LOG_UNWRITTEN[] = "Nie udało się zapisać %d wyników w pliku ";
constexpr char NO_CHANNEL_TO_LOG[] = "Wybierz przynajmniej jedną wielkość do zapisu";

// The chart window. Units as the chart and its statistics write them.
constexpr char UNIT_KLX[] = "kLx";
constexpr char UNIT_WM2[] = "W/m²";
constexpr char UNIT_UMOL[] = "µmol/(s·m²)";
// Doses: their names and units.
constexpr char DOSE_UMOL[] = "Dzienna suma światła (DLI)";
constexpr char DOSE_UMOL_UNIT[] = "mol/m²";
constexpr char DOSE_WM2[] = "Napromienienie";
constexpr char DOSE_WM2_UNIT[] = "kJ/m²";
constexpr char DOSE_KLX[] = "Naświetlenie";
constexpr char DOSE_KLX_UNIT[] = "klx·h";
constexpr char DOSE_UNKNOWN[] = "Dawka";
// The spans of the drop-down list.
constexpr char SPAN_10_MINUTES[] = "10 minut";
constexpr char SPAN_1_HOUR[] = "1 godzina";
constexpr char SPAN_8_HOURS[] = "8 godzin";
constexpr char SPAN_24_HOURS[] = "24 godziny";
// The statistics table: column heads, row names; a value that does not exist; the time without
// data, followed by hh:mm:ss.
constexpr char STATS_IN_VIEW[] = "Na wykresie";
constexpr char STATS_SINCE_RESET[] = "Od wyzerowania";
constexpr char STATS_SINCE_MIDNIGHT[] = "Od północy";
constexpr char STATS_MIN[] = "Minimum";
constexpr char STATS_MAX[] = "Maksimum";
constexpr char STATS_AVERAGE[] = "Średnia";
constexpr char NO_VALUE[] = "—";
constexpr char NO_DATA_FOR[] = "brak danych: ";
// The picture: a channel's name (with its number), the text where there is nothing to draw.
constexpr char CHANNEL[] = "Kanał %d";
constexpr char CHART_NO_DATA[] = "Brak danych w wybranym okresie.";
// Saving the picture: the file dialog, and the message before the path (the system's reason
// follows it).
constexpr char PNG_FILTER_NAME[] = "Obraz PNG (*.png)";
constexpr char PNG_DEFAULT_NAME[] = "wykres.png";
constexpr char PNG_SAVE_FAILED[] = "Nie udało się zapisać obrazu wykresu do pliku:\n";

} // namespace texts
