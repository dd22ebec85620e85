#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "document/calendar_document.h"
#include "pdf/print_pdf.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "platform/file_save.h"

namespace {

using namespace tessaly;

// As heavy as the calendar page: frame, title, 42 cells with their numbers, and the
// silver weekend picture twelve times (about 530 KB of samples).
ByteSpans DrawCalendarSizedDocument(TPrintPDF& pdf, const Bitmap24& weekend) {
    pdf.PageWidth = 792;
    pdf.PageHeight = 612;
    pdf.BeginDocument();
    pdf.DrawRectangle(12, 12, 780, 600);
    pdf.Font.Face = 1;
    pdf.Font.Size = 36;
    pdf.DrawText(300, 60, "April 2026");
    pdf.Font.Size = 16;
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column) {
            const int x = 18 + column * 108;
            const int y = 100 + row * 82;
            if (column >= 5) {  // the weekend columns: twelve cells
                pdf.DrawImage(x, y, weekend);
            }
            pdf.DrawRectangle(x, y, x + 108, y + 82);
            pdf.DrawText(x + 4, y + 18, std::to_string(row * 7 + column + 1));
        }
    }
    return pdf.EndDocument();
}

// Writers of a fixed date, so that every run writes the same bytes.
void SetDate(TPrintPDF& pdf) {
    pdf.CreationDate = {2026, 4, 5, 13, 7, 9};
}

void BM_PdfTwelvePicturesInMemory(benchmark::State& state) {
    const Bitmap24 weekend = Bitmap24::Filled(105, 137, 192, 192, 192);
    std::size_t saved = 0;
    for (auto _ : state) {
        TPrintPDF pdf("Orvanta");
        SetDate(pdf);
        const ByteSpans bytes = DrawCalendarSizedDocument(pdf, weekend);
        saved = bytes.size();
        benchmark::DoNotOptimize(bytes.spans().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * saved));
    state.counters["file_bytes"] = static_cast<double>(saved);
}
BENCHMARK(BM_PdfTwelvePicturesInMemory)->Unit(benchmark::kMicrosecond);

// One writer for every document: BeginDocument keeps its buffers, so this is the
// writer's own work without the kernel's first touch of fresh memory.
void BM_PdfTwelvePicturesReusedWriter(benchmark::State& state) {
    const Bitmap24 weekend = Bitmap24::Filled(105, 137, 192, 192, 192);
    TPrintPDF pdf("Orvanta");
    SetDate(pdf);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DrawCalendarSizedDocument(pdf, weekend).spans().data());
    }
}
BENCHMARK(BM_PdfTwelvePicturesReusedWriter)->Unit(benchmark::kMicrosecond);

// The same document saved the way the program saves it: temporary file, fsync, rename.
void BM_PdfTwelvePicturesToFile(benchmark::State& state) {
    const Bitmap24 weekend = Bitmap24::Filled(105, 137, 192, 192, 192);
    const std::filesystem::path target =
        std::filesystem::temp_directory_path() / "tessaly-bench-calendar.pdf";
    for (auto _ : state) {
        TPrintPDF pdf("Orvanta");
        SetDate(pdf);
        const ByteSpans bytes = DrawCalendarSizedDocument(pdf, weekend);
        SaveFileAtomically(target.string(), bytes, "Cannot write file " + target.string());
    }
    std::filesystem::remove(target);
}
BENCHMARK(BM_PdfTwelvePicturesToFile)->Unit(benchmark::kMicrosecond);

// A year of calendar pages in one document, in memory: composed, laid out and drawn,
// twelve pages showing one shared picture object.
void BM_PdfCalendarTwelveMonthsInMemory(benchmark::State& state) {
    NameTable names;
    FillDayNames(names, false, {});
    FillMonthNames(names, false, {});
    CalendarRequest request{0, 2027, 0, true};
    request.months = 12;
    std::size_t saved = 0;
    for (auto _ : state) {
        TPrintPDF pdf("Orvanta");
        SetDate(pdf);
        const ByteSpans bytes =
            DrawPdfCalendar(pdf, ComposeCalendar(request, names, nullptr), {}, 90);
        saved = bytes.size();
        benchmark::DoNotOptimize(bytes.spans().data());
    }
    state.counters["file_bytes"] = static_cast<double>(saved);
}
BENCHMARK(BM_PdfCalendarTwelveMonthsInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
