#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "output/calendar_output.h"
#include "platform/file_save.h"

namespace {

using namespace tessaly;

// What tessaly-cli's in-process part has of the system: English names, US Letter,
// the saver itself.
class WritingServices : public CalendarServices {
  public:
    const LocaleNames& UserLocaleNames() override { return names_; }
    EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest&) override { return {}; }
    LocalDateTime Now() override { return {2026, 2, 1, 0, 0, 0}; }
    ScreenResolution ScreenDpi() override { return {96, 96}; }
    int TextWidthInWindowFont(const std::string& text) override {
        return 9 * static_cast<int>(text.size());
    }
    void SaveFile(const std::string& path, ByteSpans bytes,
                  const std::string& writeErrorMessage) override {
        SaveFileAtomically(path, bytes, writeErrorMessage);
    }

  private:
    LocaleNames names_;
};

// February 2026 built and written to /dev/null through the saver: all of a run but the
// process start and the disk.
void MakeToDevNull(benchmark::State& state, bool pdf) {
    CalendarRequest request{1, 2026, 1, true};
    request.pdf = pdf;
    const CalendarDestination destination{"/dev/", {}, "null"};
    WritingServices services;
    for (auto _ : state) {
        NameTable names;
        names[kWeekendColorSlot] = kDefaultWeekendColor;
        std::vector<std::string> lines;
        benchmark::DoNotOptimize(MakeCalendarFile(request, names, lines, destination, services));
    }
}

void BM_HtmlPageToDevNull(benchmark::State& state) {
    MakeToDevNull(state, false);
}
BENCHMARK(BM_HtmlPageToDevNull)->Unit(benchmark::kMicrosecond);

void BM_PdfShadedToDevNull(benchmark::State& state) {
    MakeToDevNull(state, true);
}
BENCHMARK(BM_PdfShadedToDevNull)->Unit(benchmark::kMicrosecond);

}  // namespace
