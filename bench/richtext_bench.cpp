// Loading documents: one benchmark per input, so each kind of file is timed on its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "richtext/document_loader.h"

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

}  // namespace

BENCHMARK_MAIN();
