#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A Windows LOGFONTA record as a text object stores it: 60 bytes, integers little-endian.
//   0 lfHeight, 4 lfWidth, 8 lfEscapement, 12 lfOrientation, 16 lfWeight (int32 each);
//   20 lfItalic, 21 lfUnderline, 22 lfStrikeOut, 23 lfCharSet, 24 lfOutPrecision,
//   25 lfClipPrecision, 26 lfQuality, 27 lfPitchAndFamily (bytes);
//   28 lfFaceName, 32 Windows-1252 bytes, zero-terminated when shorter.
// The record is kept as its bytes, so that whatever a file holds is written back unchanged;
// the accessors read and change single fields.
class LogFontA {
public:
    static constexpr size_t SIZE = 60;
    static constexpr size_t FACE_SIZE = 32;
    using Bytes = std::array<uint8_t, SIZE>;

    LogFontA() : bytes_{} {}
    explicit LogFontA(const Bytes& bytes) : bytes_(bytes) {}

    // The record of the stock SYSTEM_FONT: height 16, width 7, weight 700, ANSI character
    // set, variable pitch in the Swiss family, face "System".
    static LogFontA SystemFont();

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    // Negative: the character height in pixels; positive: the cell height; 0: a default.
    int32_t Height() const { return Int(0); }
    void SetHeight(int32_t v) { SetInt(0, v); }
    int32_t Width() const { return Int(4); }
    void SetWidth(int32_t v) { SetInt(4, v); }
    // 0 means the default weight (400); 100 ... 900.
    int32_t Weight() const { return Int(16); }
    void SetWeight(int32_t v) { SetInt(16, v); }
    bool Italic() const { return bytes_[20] != 0; }
    void SetItalic(bool on) { bytes_[20] = on; }
    bool Underline() const { return bytes_[21] != 0; }
    void SetUnderline(bool on) { bytes_[21] = on; }
    bool StrikeOut() const { return bytes_[22] != 0; }
    void SetStrikeOut(bool on) { bytes_[22] = on; }
    uint8_t CharSet() const { return bytes_[23]; }
    void SetCharSet(uint8_t v) { bytes_[23] = v; }
    // Low 2 bits: pitch (1 fixed, 2 variable); bits 4 to 7: family (1 roman, 2 swiss,
    // 3 modern, 4 script, 5 decorative).
    uint8_t PitchAndFamily() const { return bytes_[27]; }
    void SetPitchAndFamily(uint8_t v) { bytes_[27] = v; }

    // The face name's bytes up to the first zero (all 32 when there is none).
    std::string FaceName() const;
    // Stores at most 31 bytes and zero-fills the rest of the field.
    void SetFaceName(std::string_view cp1252);

    friend bool operator==(const LogFontA&, const LogFontA&) = default;

private:
    int32_t Int(size_t offset) const;
    void SetInt(size_t offset, int32_t v);

    Bytes bytes_;
};
