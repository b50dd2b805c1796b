#include <QTimer>
#include <QToolButton>

#include "common/code_pages.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "windowlogic/step_rules.h"

namespace kerfline {
namespace {

char32_t shownAsSpace(char32_t c) { return c == U'\n' || c == U'\r' ? U' ' : c; }

}  // namespace

std::uint8_t TMainForm::currentCode() const {
  // CurChar came from the last 8-bit step while it still decodes from CurCode; otherwise it
  // came from the text (or an export) and its own code in the font's code page counts.
  const int codePage = codePageOfCharSet(ConversionFont.CharSet);
  if (decodeByte(codePage, CurCode) == CurChar) return CurCode;
  return encodeChar(codePage, CurChar);
}

void TMainForm::setCurCode(std::uint8_t code) {
  CurCode = code;
  CurChar = decodeByte(codePageOfCharSet(ConversionFont.CharSet), code);
}

void TMainForm::NextCharBtnClick() {
  const std::u32string text = RichEdit1->text();
  if (text.empty()) {
    setCurCode(nextEmptyCode(currentCode()));
  } else {
    CharPos = nextCharPos(CharPos, static_cast<std::int32_t>(text.size()));
    CurChar = text[static_cast<std::size_t>(CharPos - 1)];
    UpdateFont(CharPos);
    CurChar = shownAsSpace(CurChar);
  }
  requestRepaint();
}

void TMainForm::PrevCharBtnClick() {
  const std::u32string text = RichEdit1->text();
  if (text.empty()) {
    setCurCode(prevEmptyCode(currentCode()));
  } else {
    CharPos = prevCharPos(CharPos, static_cast<std::int32_t>(text.size()));
    CurChar = shownAsSpace(text[static_cast<std::size_t>(CharPos - 1)]);
    UpdateFont(CharPos);
  }
  requestRepaint();
}

void TMainForm::AutoBtnClick() {
  if (AutoBtn->isChecked())
    Timer->start();
  else
    Timer->stop();
}

void TMainForm::TimerTimer() {
  if (AutoBtn->isChecked())
    NextCharBtnClick();
  else
    requestRepaint();
}

void TMainForm::Resolution1Change() { requestRepaint(); }

void TMainForm::ScaleEdit1Change() { requestRepaint(); }

}  // namespace kerfline
