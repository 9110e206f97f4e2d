#include "CardRecords.h"

#include "Frame.h"

namespace dorvex {

uint32_t GetNumber(const uint8_t* record, Field f) { return frame::GetBE(record + f.offset, f.size); }

void PutNumber(uint8_t* record, Field f, uint32_t value) { frame::PutBE(record + f.offset, value, f.size); }

bool DigitsOk(const char* text, Field f) { return frame::HasChars(text, 2 * f.size); }

void PutDigits(uint8_t* record, Field f, const char* text) {
  for (size_t i = 0; i < f.size; ++i) record[f.offset + i] = frame::DigitPairToByte(text[2 * i], text[2 * i + 1]);
}

void GetDigits(const uint8_t* record, Field f, char* out) {
  for (size_t i = 0; i < f.size; ++i) frame::ByteToDigitPair(record[f.offset + i], out + 2 * i);
  out[2 * f.size] = '\0';
}

}  // namespace dorvex
