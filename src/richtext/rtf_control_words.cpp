#include "richtext/rtf_control_words.h"

#include <string_view>
#include <unordered_map>

namespace kerfline::rtf {
namespace {

using K = Keyword;

// Destinations whose contents are not body text. Their groups are skipped unread, which also
// keeps picture and object data (the bulk of most files) out of the parser.
constexpr std::string_view kSkipped[] = {
    // document-level tables and metadata
    "stylesheet", "info", "filetbl", "listtable", "listoverridetable", "revtbl", "rsidtbl",
    "generator", "pgdsctbl", "pgptbl", "themedata", "colorschememapping", "latentstyles",
    "datastore", "xmlnstbl", "mmathPr", "pnseclvl", "protusertbl", "userprops", "docvar",
    "template", "private", "expandedcolortbl", "defchp", "defpap", "wgrffmtfilter", "background",
    "author", "title", "subject", "operator", "keywords", "comment", "doccomm", "company",
    "category", "manager", "hlinkbase", "password",
    // font-table extras
    "panose", "fontemb", "fontfile", "fname",
    // pictures, objects and shapes
    "pict", "shppict", "nonshppict", "shp", "shpinst", "shprslt", "shpgrp", "sp", "sn", "sv",
    "do", "objdata", "objclass", "objname", "objalias", "objsect", "objtime", "objitem",
    "blipuid", "picprop", "listpicture",
    // page furniture, notes and annotations: not part of the running text
    "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
    "footnote", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "annotation",
    "atnid", "atnauthor", "atndate", "atnref", "atnparent",
    // fields: the instruction is skipped, the result (\fldrslt) is read
    "fldinst", "formfield", "datafield",
    // index and contents entries, bookmarks, old-style numbering definitions
    "xe", "tc", "tcn", "txe", "rxe", "bkmkstart", "bkmkend", "pn", "pntxta", "pntxtb",
    // tracked-change and HTML leftovers
    "oldcprops", "oldpprops", "oldtprops", "oldsprops", "mhtmltag", "htmltag", "factoidname",
    // a copy of nested tables for readers without nesting; the nested text is read already
    "nonesttables",
};

const std::unordered_map<std::string_view, Keyword>& table() {
  static const std::unordered_map<std::string_view, Keyword> map = [] {
    std::unordered_map<std::string_view, Keyword> m{
        {"ansi", K::Ansi}, {"mac", K::Mac}, {"pc", K::Pc}, {"pca", K::Pca},
        {"ansicpg", K::AnsiCpg}, {"deff", K::Deff},
        {"fonttbl", K::FontTable}, {"colortbl", K::ColorTable}, {"f", K::Font},
        {"fcharset", K::FontCharSet}, {"fprq", K::FontPitch}, {"falt", K::FontAltName},
        {"red", K::Red}, {"green", K::Green}, {"blue", K::Blue},
        {"plain", K::Plain}, {"fs", K::FontSize}, {"b", K::Bold}, {"i", K::Italic},
        {"ulnone", K::UnderlineNone}, {"strike", K::Strike}, {"striked", K::StrikeDouble},
        {"cf", K::Color}, {"v", K::Hidden},
        {"uc", K::UnicodeSkip}, {"u", K::Unicode},
        {"par", K::Par}, {"line", K::Line}, {"tab", K::Tab}, {"cell", K::Cell},
        {"nestcell", K::Cell}, {"row", K::Row}, {"nestrow", K::Row}, {"page", K::Page},
        {"sect", K::Section}, {"column", K::Page},
        {"emdash", K::EmDash}, {"endash", K::EnDash}, {"lquote", K::LeftQuote},
        {"rquote", K::RightQuote}, {"ldblquote", K::LeftDoubleQuote},
        {"rdblquote", K::RightDoubleQuote}, {"bullet", K::Bullet}, {"emspace", K::EmSpace},
        {"enspace", K::EnSpace}, {"qmspace", K::QuarterEmSpace},
        {"upr", K::UnicodePair}, {"ud", K::UnicodeSide}, {"object", K::Object},
        {"result", K::ObjectResult}, {"fldrslt", K::FieldResult},
    };
    // Every underline style is underline to us; \ulc (underline colour) is deliberately absent.
    for (std::string_view ul : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
      m.emplace(ul, K::Underline);
    }
    for (std::string_view s : kSkipped) m.emplace(s, K::SkippedDestination);
    return m;
  }();
  return map;
}

}  // namespace

Keyword lookupKeyword(std::string_view word) {
  const auto& m = table();
  const auto it = m.find(word);
  return it == m.end() ? Keyword::Unknown : it->second;
}

}  // namespace kerfline::rtf
