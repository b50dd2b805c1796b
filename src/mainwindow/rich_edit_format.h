#pragma once
#include <QFont>
#include <QTextCharFormat>

#include "common/font_description.h"

namespace kerfline {

/// Custom character-format properties holding what Qt has no property for.
inline constexpr int CharSetProperty = QTextFormat::UserProperty + 1;
inline constexpr int PitchProperty = QTextFormat::UserProperty + 2;

/// A character format holding exactly the given fields (AttrField bits) of f; merged into text
/// it changes those fields and leaves the others as each character has them.
QTextCharFormat toCharFormat(const TFontDescription& f, unsigned fields);

/// The description of a character format; fields the format leaves unset take those of
/// fallback (the document's default font, which is what the editor shows for them), colour
/// black, character set DEFAULT and pitch Default.
TFontDescription fromCharFormat(const QTextCharFormat& format, const QFont& fallback);

/// base with the given fields (AttrField bits) taken from f.
TFontDescription mergeFields(TFontDescription base, const TFontDescription& f, unsigned fields);

/// The font an editor shows for text without formatting of its own in the given attributes.
QFont toFont(const TFontDescription& f, QFont base);

}  // namespace kerfline
