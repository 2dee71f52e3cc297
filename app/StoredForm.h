#pragma once

// How the persistent settings look in the registry, and the rules for turning a stored word back
// into a value the program can use. Platform-free.

#include <cstdint>

// Face names hold at most 31 characters (LF_FACESIZE 32 with the terminating zero); log file names
// at most 255. Characters are UTF-16 code units, as the registry and LOGFONTW count them.
constexpr unsigned FONT_NAME_MAX_CHARS = 31;
constexpr unsigned FILE_NAME_MAX_CHARS = 255;
// Text values are read into buffers of this many characters, terminating zero included.
constexpr unsigned SETTINGS_TEXT_BUFFER_CHARS = 256;

// K in thousandths, truncated toward zero: 1.4705 is stored as 1470. A product that lies within
// rounding error of a whole number counts as that number, so that every K of three decimals
// (typed, or loaded as stored * 0.001) is stored as itself instead of one thousandth less.
// NaN gives the stored form of the default K; anything else outside 0 .. 4294967.295 is clamped.
std::uint32_t KToStored(double k);
// stored * 0.001, unsigned; 0 (which no dialog accepts, and which would show every converted
// value as infinite or zero) loads as the default K.
double StoredToK(std::uint32_t stored);

// Signed fields keep their 32-bit pattern: -1 is stored as 0xFFFFFFFF and loads back as -1.
std::uint32_t SignedToStored(int value);
int StoredToSigned(std::uint32_t stored);

// Flags are stored as 1 or 0; any non-zero word reads as set.
std::uint32_t FlagToStored(bool flag);
bool StoredToFlag(std::uint32_t stored);

// The log interval in seconds; anything below 1 second loads as 1.
int StoredToInterval(std::uint32_t stored);

// The italic flag is a byte: only the low byte of the stored word counts.
std::uint8_t StoredToItalic(std::uint32_t stored);

// Stored words that would leave a panel unreadable or mislabelled are not taken: a conversion mode
// other than 0..2 reads as "no conversion", and a unit code outside 1..4 or a font height of 0
// leave the value the panel already has.
int StoredToConversionMode(std::uint32_t stored);
bool IsUsableUnitCode(std::uint32_t stored);
bool IsUsableFontHeight(std::uint32_t stored);
