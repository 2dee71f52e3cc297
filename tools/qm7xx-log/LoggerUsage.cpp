#include "meter/MeterLink.h"
#include "tools/qm7xx-log/LoggerOptions.h"

std::string LoggerUsage()
{
    const std::string reopen = std::to_string(MeterLink::RECONNECT_PERIOD_MS / 1000);
    const std::string silence = std::to_string(MeterLink::WATCHDOG_PERIOD_MS / 1000);
    const std::string longest = std::to_string(LONGEST_INTERVAL_SECONDS);
    return R"(Usage: qm7xx-log --port PORT [options]

Receives a QM-700 or QM-701 light meter on a serial port (300 baud, 7 data bits, no parity,
1 stop bit, receive only) and logs its readings without a window, by the rules of QM7xx.

  --port PORT              the meter's port: a device path on Linux (/dev/ttyUSB0),
                           COMn on Windows (COM3)
  --out FILE               append the records to FILE (created when missing); without it
                           they only go to standard output
  --interval SECONDS       one record every SECONDS, 1 to )" +
           longest + R"( (default 1)
  --channels 1|2|both      the channels logged (default both)
  --format qm7xx|excel|iso the layout of the records:
                             qm7xx  QM7xx's own log: code page 1250, CR LF (default)
                             excel  semicolons, decimal commas, code page 1250, CR LF
                             iso    UTF-8, LF, commas, ISO 8601 local time with UTC offset,
                                    column names with units, an empty field for no value
  --separator tab|comma|semicolon
                           the qm7xx format's separator (default tab)
  --overwrite              empty FILE first instead of appending to it
  --rotate daily           a new file every local day, named with the date:
                           light.csv -> light-2026-12-07.csv
  --wait                   when the port cannot be opened at start, keep trying
  --quiet                  do not print the records on standard output
  --help                   show this text
  --version                show the version

Until the meter's first reading, and while it is silent ()" +
           silence +
           R"( s) or reports an error, values are
logged as "???" (iso: left empty). A port that vanishes or falls silent is opened again every )" +
           reopen + R"( s. Records
that cannot be written wait, in order, and go in as soon as the file takes them; each one is
flushed to the disk. Ctrl+C, SIGTERM, Ctrl+Break or closing the console ends the logger after
the last whole record.

Exit status: 0 when stopped, 1 when the log file cannot be opened or records were left
unwritten, 2 when the port cannot be opened at start (without --wait), 64 for bad options.
)";
}
