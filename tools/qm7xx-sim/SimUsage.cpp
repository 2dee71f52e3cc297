#include "tools/qm7xx-sim/SimUsage.h"

std::string UsageText()
{
    return R"(Usage: qm7xx-sim --port PORT [options]

Plays a QM-700 or QM-701 light meter on a serial port: one frame per reading, at 300 baud,
7 data bits, no parity, 1 stop bit, exactly as the meter sends them. It only writes to the port.

Port:
  --port PORT             COM port on Windows (COM8, \\.\COM12), tty path on Linux
                          (/dev/ttyUSB0, or one end of a socat pair)

Meter:
  --model 700|701         QM-700: one channel, 17-byte frames (default);
                          QM-701: two channels, 24-byte frames
  --device N              the meter's number, 0..65535 (default 1)
  --unit klx|wm2          QM-700 unit (default klx)
  --channels 1|2          QM-701: second channel off (1) or on (2, default)
  --range1 R, --range2 R  QM-701 channel units: wm2, klx, umol, wm2-fine (W/m2 at 0.01),
                          or a raw code 0..7 (4..7 have no unit); defaults klx and wm2

Values:
  --level V, --level2 V   level of channel 1 and channel 2 in their units
                          (defaults 50 and 20); sent at 0.1 resolution when it fits
                          (0.001 for wm2-fine), else in whole units (0.01)
  --drift P               values wander around the level by about P percent (default 2)
  --fixed                 send the levels exactly, no drift
  --seed N                seed of the drift and of the stray bytes (default 1)

Timing:
  --interval MS           one frame every MS milliseconds (default 1000)
  --fast                  write each frame at once instead of about 33 bytes per second
  --frames N              stop after N frames
  --duration S            stop after S seconds
                          (without either, run until Ctrl+C, which lets the frame
                          being sent finish)

Faults (frames are numbered from 1; FRAMES is N, N-M, N- or all):
  --measurement-error FRAMES   measurement error flag (channel 1 of the QM-701)
  --measurement-error2 FRAMES  QM-701 channel-2 measurement error flag
  --calibration-error FRAMES   calibration error flag
  --bad-checksum-every N       every Nth frame has a damaged checksum
  --stray-every N              after every Nth frame, a burst of 7-bit noise bytes (never a
                               carriage return): a receiver sees the next frame with them
                               in front of it
  --stray-count K              bytes of noise in each burst, 1..40 (default 5)
  --silence N:S                after frame N, send nothing for S seconds
  --change-at N                from frame N on, apply the changes below:
  --unit-after klx|wm2           QM-700 unit
  --channels-after 1|2           QM-701 second channel off or on
  --range1-after R, --range2-after R   QM-701 channel units

Other:
  --verbose               print one line per frame sent
  --help                  show this text

Exit status: 0 when done or stopped with Ctrl+C, 1 when the port fails, 2 for bad options.
)";
}
