#pragma once
#include <cstdint>
#include <ostream>
#include <string>

namespace kerfline {

/// Pitch request of a font, as word processors store it.
enum class TFontPitch : std::uint8_t { Default = 0, Fixed = 1, Variable = 2 };

/// Windows character-set numbers, as RTF's \fcharset and LOGFONT carry them.
namespace charset {
inline constexpr int Ansi = 0;
inline constexpr int Default = 1;
inline constexpr int Symbol = 2;
inline constexpr int Mac = 77;
inline constexpr int ShiftJis = 128;
inline constexpr int Hangul = 129;
inline constexpr int Gb2312 = 134;
inline constexpr int ChineseBig5 = 136;
inline constexpr int Greek = 161;
inline constexpr int Turkish = 162;
inline constexpr int Vietnamese = 163;
inline constexpr int Hebrew = 177;
inline constexpr int Arabic = 178;
inline constexpr int Baltic = 186;
inline constexpr int Russian = 204;
inline constexpr int Thai = 222;
inline constexpr int EastEurope = 238;
inline constexpr int Oem = 255;
}  // namespace charset

/// Everything a character's formatting says about its font. Face names are UTF-8.
struct TFontDescription {
  std::string Name = "Arial";     ///< face name as the user chose it (resolved later by fontconfig)
  int Size = 28;                  ///< whole points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int CharSet = charset::Default;  ///< Windows character-set number
  TFontPitch Pitch = TFontPitch::Default;
  std::uint32_t Color = 0;        ///< 0x00RRGGBB

  friend bool operator==(const TFontDescription&, const TFontDescription&) = default;
  friend std::ostream& operator<<(std::ostream& os, const TFontDescription& f) {
    return os << '{' << f.Name << ' ' << f.Size << "pt" << (f.Bold ? " bold" : "")
              << (f.Italic ? " italic" : "") << (f.Underline ? " underline" : "")
              << (f.StrikeOut ? " strike" : "") << " cs" << f.CharSet << " pitch"
              << static_cast<int>(f.Pitch) << " #" << std::hex << f.Color << std::dec << '}';
  }
};

}  // namespace kerfline
