// Loading documents: one benchmark per input, so each kind of file is timed on its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "richtext/document_loader.h"
#include "richtext/rtf_reader.h"

namespace {

constexpr std::size_t kFiveMegabytes = 5u << 20;

// About 5 MB of prose-like lines: mostly ASCII with some accented letters, LF line ends.
std::string plainUtf8() {
  static const std::string text = [] {
    const std::string line = "The quick brown fox jumps over the lazy dog – Grüße, café, 42 mm\n";
    std::string s;
    s.reserve(kFiveMegabytes + line.size());
    while (s.size() < kFiveMegabytes) s += line;
    return s;
  }();
  return text;
}

// The same size in Windows-1252, with CR LF line ends and the 0x80-0x9F punctuation.
std::string plainWindows1252() {
  static const std::string text = [] {
    const std::string line = "The quick brown fox \x93jumps\x94 over the lazy dog \x96 Gr\xFC\xDF" "e, 42 \x80\r\n";
    std::string s;
    while (s.size() < kFiveMegabytes) s += line;
    return s;
  }();
  return text;
}

// A temporary file holding content, removed at exit.
class TempFile {
 public:
  explicit TempFile(const std::string& content)
      : path_(std::filesystem::temp_directory_path() /
              ("kerfline_bench_" + std::to_string(::getpid()) + ".txt")) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

void BM_LoadPlainTextFile_Utf8_5MB(benchmark::State& state) {
  const TempFile file(plainUtf8());
  const auto format = kerfline::defaultEditorFormat();
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::loadDocument(file.path(), format));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plainUtf8().size()));
}
BENCHMARK(BM_LoadPlainTextFile_Utf8_5MB)->Unit(benchmark::kMillisecond);

void BM_LoadPlainTextBytes_Windows1252_5MB(benchmark::State& state) {
  const std::string bytes = plainWindows1252();
  const auto format = kerfline::defaultEditorFormat();
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::loadDocumentBytes(bytes, format));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadPlainTextBytes_Windows1252_5MB)->Unit(benchmark::kMillisecond);

// About 5 MB of RTF as word processors write it: a font and colour table, then paragraphs of
// short formatted runs, \'hh bytes, \uN with fallbacks, and now and then a table row.
std::string richText() {
  static const std::string text = [] {
    std::string s =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2 Times New Roman;}"
        "{\\f1\\fswiss\\fcharset0\\fprq2 Arial;}{\\f2\\fswiss\\fcharset238\\fprq2 Arial CE;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n";
    const std::string paragraph =
        "\\pard\\plain\\f1\\fs22 The quick brown fox {\\b\\cf1 jumps} over {\\i the lazy} dog "
        "\\u8364\\'80 caf\\'e9 {\\ul Gr\\'fc\\'dfe}{\\f2 \\'e8\\'f8\\'9a} \\ldblquote 42 mm\\rdblquote"
        "\\par\n";
    const std::string row = "\\trowd\\cellx2000\\cellx4000\\intbl{\\fs20 Cell A}\\cell{\\fs20 Cell B}"
                            "\\cell\\row\n";
    for (int i = 0; s.size() < kFiveMegabytes; ++i) s += i % 20 == 19 ? row : paragraph;
    return s + "}";
  }();
  return text;
}

// The same size, nine tenths of it picture data, which the reader skips unread.
std::string pictureHeavyRichText() {
  static const std::string text = [] {
    std::string s = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    std::string picture = "{\\pict\\pngblip\\picw64\\pich64\n";
    for (int i = 0; i < 64; ++i) picture += "89504e470d0a1a0a0000000d49484452000000400000004008020000\n";
    picture += "}";
    const std::string paragraph = "Caption text under the picture\\par\n";
    while (s.size() < kFiveMegabytes) s += picture + paragraph;
    return s + "}";
  }();
  return text;
}

void BM_ReadRtf_Formatted_5MB(benchmark::State& state) {
  const std::string bytes = richText();
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::readRtf(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadRtf_Formatted_5MB)->Unit(benchmark::kMillisecond);

void BM_ReadRtf_PictureHeavy_5MB(benchmark::State& state) {
  const std::string bytes = pictureHeavyRichText();
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::readRtf(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadRtf_PictureHeavy_5MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
