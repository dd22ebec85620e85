#include "pdf/print_pdf.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "core/int_text.h"
#include "pdf/pdf_syntax.h"

namespace tessaly {

using namespace pdf_syntax;

namespace {

constexpr std::string_view kBaseFonts[] = {
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
    "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
    "Symbol",      "ZapfDingbats",
};

// What the objects after the pages take at most, about: the resources, each page's and
// picture's dictionary, the embedded faces' widths and maps.
std::size_t RoomAfterPages(std::size_t pages, std::size_t pictures, std::size_t glyphs) {
    return 4096 + 200 * (pages + pictures) + 64 * glyphs;
}

// A piece of a line's content, made once and put wherever it recurs.
struct LinePiece {
    char text[2 * kMostChars<std::int64_t> + 8]{};
    std::size_t size = 0;
};

// A point of a line in the page's coordinates: "x y".
LinePiece PointText(std::int64_t x, std::int64_t y) {
    LinePiece point;
    char* at = point.text;
    at = PutInto(at, x);
    *at++ = ' ';
    at = PutInto(at, y);
    point.size = static_cast<std::size_t>(at - point.text);
    return point;
}

// How every line ends: its width, and the stroke ("w w", "S").
LinePiece StrokeText(std::int32_t width) {
    LinePiece stroke;
    char* at = stroke.text;
    PutLine(at, width, " w");
    PutLine(at, "S");
    stroke.size = static_cast<std::size_t>(at - stroke.text);
    return stroke;
}

// A line's content ("x y m", "x y l", "w w", "S"), put at `at` with room for
// kMostLineChars; returns where it ends.
constexpr std::size_t kMostLineChars = 3 * sizeof(LinePiece::text) + 8;
char* PutLineContent(char* at, const LinePiece& from, const LinePiece& to,
                     const LinePiece& stroke) {
    // The whole buffer, a size known when compiling, is copied in a few moves; what
    // follows the piece is overwritten by the next or never appended.
    const auto put = [&at](const LinePiece& piece) {
        std::memcpy(at, piece.text, sizeof piece.text);
        at += piece.size;
    };
    put(from);
    at = PutInto(at, " m\r\n");
    put(to);
    at = PutInto(at, " l\r\n");
    put(stroke);
    return at;
}

// A date field of `width` digits; out-of-range clock values are clamped so the date
// keeps its fixed 14 digits.
std::string DateField(int value, int width) {
    int limit = 1;
    for (int i = 0; i < width; ++i) {
        limit *= 10;
    }
    return ZeroPadded(static_cast<std::uint64_t>(std::clamp(value, 0, limit - 1)), width);
}

std::string CreationDateText(const LocalDateTime& t) {
    return DateField(t.year, 4) + DateField(t.month, 2) + DateField(t.day, 2) +
           DateField(t.hour, 2) + DateField(t.minute, 2) + DateField(t.second, 2);
}

// Points of one side of a picture, truncated toward zero: the page side stands for
// `inches` of screen pixels.
std::int64_t PictureSide(int pixels, std::int32_t pageSide, double inches, int dpi) {
    if (dpi <= 0) {
        dpi = ScreenResolution{}.dpiX;  // no usable screen
    }
    const double scale = pageSide / (inches * dpi);
    return static_cast<std::int64_t>(pixels * scale);
}

}  // namespace

TPrintPDF::TPrintPDF(std::string defaultName)
    : Author(defaultName), Creator(defaultName), Producer(std::move(defaultName)) {}

void TPrintPDF::RequireOpen(const char* call) const {
    if (!open_) {
        throw std::logic_error(std::string("TPrintPDF::") + call + " without BeginDocument");
    }
}

void TPrintPDF::RecordOffset(std::size_t size) {
    runningOffset_ += size;
    offsets_.push_back(runningOffset_);
}

void TPrintPDF::AppendOutside(std::string_view bytes) {
    if (!bytes.empty()) {
        outside_.push_back({text_.size(), bytes});
        outsideSize_ += bytes.size();
    }
}

// offsets_ holds the header's end and one entry per object written: the next object
// must be the one numbered offsets_.size().
void TPrintPDF::OpenObject(std::int32_t number) {
    assert(number <= lastReserved_);
    assert(static_cast<std::size_t>(number) == offsets_.size());
    objectStart_ = FileSize();
    WriteLine(text_, number, " 0 obj");
}

std::int32_t TPrintPDF::OpenObject() {
    const std::int32_t number = Reserve();
    OpenObject(number);
    return number;
}

// The object's size is what was written for it, its outside spans included.
void TPrintPDF::CloseObject() {
    WriteLine(text_, "endobj");
    RecordOffset(FileSize() - objectStart_);
    assert(runningOffset_ == FileSize());
}

void TPrintPDF::BeginDocument() {
    pageNumber_ = 1;
    expectedPages_ = 1;
    lastReserved_ = 0;
    runningOffset_ = 0;
    infoObject_ = pagesObject_ = resourcesObject_ = outlinesObject_ = catalogObject_ = 0;
    contentLengthObject_ = 0;
    offsets_.clear();
    fontObjects_.clear();
    contentObjects_.clear();
    pictureObjects_.clear();
    pageObjects_.clear();
    pictures_.clear();
    samples_.clear();
    text_.clear();
    outside_.clear();
    outsideSize_ = 0;
    spans_.clear();
    embeddedFonts_.clear();
    drawnFaces_.clear();
    toUnicodeMaps_.clear();
    // A page of the calendar is about 13 KB of text: enough that it seldom grows.
    text_.reserve(32 * 1024);

    WriteLine(text_, "%PDF-1.4");
    RecordOffset(text_.size());
    WriteInformation();
    OpenContentStream();
    open_ = true;
}

void TPrintPDF::WriteInformation() {
    infoObject_ = OpenObject();
    WriteLine(text_, "<<");
    WriteLine(text_, "/Producer ", Literal{Producer});
    WriteLine(text_, "/Author ", Literal{Author});
    WriteLine(text_, "/CreationDate ", Literal{"D:" + CreationDateText(CreationDate)});
    WriteLine(text_, "/Creator ", Literal{Creator});
    WriteLine(text_, "/Keywords ", Literal{Keywords});
    WriteLine(text_, "/Subject ", Literal{Subject});
    WriteLine(text_, "/Title ", Literal{TITLE});
    WriteLine(text_, "/ModDate ()");
    WriteLine(text_, ">>");
    CloseObject();
}

// The drawing calls write the page's content straight after the stream's head; its
// length goes into the object after it, written once the content is complete.
void TPrintPDF::OpenContentStream() {
    const std::int32_t number = Reserve();
    contentLengthObject_ = Reserve();
    OpenObject(number);
    contentObjects_.push_back(number);
    WriteLine(text_, "<< /Length ", contentLengthObject_, " 0 R");
    WriteLine(text_, " >>");
    WriteLine(text_, "stream");
    contentStart_ = FileSize();
}

ByteSpans TPrintPDF::EndDocument() {
    RequireOpen("EndDocument");
    std::size_t glyphsDrawn = 0;
    for (const DrawnFace& face : drawnFaces_) {
        glyphsDrawn += face.glyphs.size();
    }
    if (glyphsDrawn > 0 && drawnFaces_.size() > embeddedFonts_.size()) {
        throw std::logic_error("TPrintPDF::EndDocument: glyphs drawn without an embedded font");
    }
    text_.reserve(text_.size() +
                  RoomAfterPages(contentObjects_.size(), pictures_.size(), glyphsDrawn));

    CloseContentStream();
    WriteFontsAndResources();
    WritePictures();
    WritePagesAndCatalog();
    WriteEmbeddedFonts();
    WriteCrossReference();
    WriteLine(text_, "%%EOF");
    open_ = false;

    // text_ grows no more: the spans may point into it now.
    std::size_t textDone = 0;
    for (const OutsideSpan& span : outside_) {
        spans_.emplace_back(text_.data() + textDone, span.textBefore - textDone);
        spans_.push_back(span.bytes);
        textDone = span.textBefore;
    }
    spans_.emplace_back(text_.data() + textDone, text_.size() - textDone);
    return ByteSpans(spans_);
}

void TPrintPDF::CloseContentStream() {
    const std::uint64_t contentLength = FileSize() - contentStart_;
    WriteLine(text_, "endstream");
    CloseObject();

    OpenObject(contentLengthObject_);
    WriteLine(text_, contentLength);
    CloseObject();
}

void TPrintPDF::WriteFontsAndResources() {
    outlinesObject_ = OpenObject();
    WriteLine(text_, "<< /Type /Outlines");
    WriteLine(text_, "/Count 0");
    WriteLine(text_, ">>");
    CloseObject();

    for (std::size_t k = 1; k <= std::size(kBaseFonts); ++k) {
        fontObjects_.push_back(OpenObject());
        WriteLine(text_, "<< /Type /Font");
        WriteLine(text_, "/Subtype /", "Type1");
        WriteLine(text_, "/Name /F", k);
        WriteLine(text_, "/BaseFont /", kBaseFonts[k - 1]);
        WriteLine(text_, "/Encoding /", "WinAnsiEncoding");
        WriteLine(text_, ">>");
        CloseObject();
    }

    ReserveLaterObjects();
    OpenObject(pagesObject_);
    WriteLine(text_, "<< /Type /Pages");
    WriteLine(text_, "/Kids [");
    for (const std::int32_t page : pageObjects_) {
        WriteLine(text_, page, " 0 R");
    }
    WriteLine(text_, "]");
    WriteLine(text_, "/Count ", pageNumber_);
    WriteLine(text_, ">>");
    CloseObject();

    OpenObject(resourcesObject_);
    WriteLine(text_, "<< /ProcSet [ /PDF /Text /ImageC]");
    WriteLine(text_, "/XObject << ");
    for (std::size_t m = 1; m <= pictureObjects_.size(); ++m) {
        WriteLine(text_, "/Im", m, " ", pictureObjects_[m - 1], " 0 R");
    }
    WriteLine(text_, ">>");
    WriteLine(text_, "/Font << ");
    for (std::size_t k = 1; k <= fontObjects_.size(); ++k) {
        WriteLine(text_, "/F", k, " ", fontObjects_[k - 1], " 0 R ");
    }
    for (std::size_t k = 0; k < drawnFaces_.size(); ++k) {
        if (drawnFaces_[k].object != 0) {
            WriteLine(text_, "/F", EmbeddedFontNumber(k), " ", drawnFaces_[k].object, " 0 R ");
        }
    }
    WriteLine(text_, ">>");
    WriteLine(text_, ">>");
    CloseObject();
}

// In the order they are written: page tree, resources, pictures, pages, catalog, and each
// embedded font whose glyphs were drawn.
void TPrintPDF::ReserveLaterObjects() {
    pagesObject_ = Reserve();
    resourcesObject_ = Reserve();
    for (std::size_t k = 0; k < pictures_.size(); ++k) {
        pictureObjects_.push_back(Reserve());
    }
    for (std::size_t k = 0; k < contentObjects_.size(); ++k) {
        pageObjects_.push_back(Reserve());
    }
    catalogObject_ = Reserve();
    for (DrawnFace& face : drawnFaces_) {
        if (!face.glyphs.empty()) {
            face.object = Reserve();
        }
    }
}

// Each picture's samples go into the file from their one copy, however many objects
// show them.
void TPrintPDF::WritePictures() {
    for (std::size_t k = 0; k < pictures_.size(); ++k) {
        const Picture& picture = pictures_[k];
        const std::string& samples = samples_[picture.samples];
        OpenObject(pictureObjects_[k]);
        WriteLine(text_, "<< /Type /XObject");
        WriteLine(text_, "/Subtype /Image");
        WriteLine(text_, "/Width ", picture.width);
        WriteLine(text_, "/Height ", picture.height);
        WriteLine(text_, "/ColorSpace /DeviceRGB");
        WriteLine(text_, "/BitsPerComponent 8");
        WriteLine(text_, "/Length ", samples.size());
        WriteLine(text_, "/Name /Im", k + 1);
        WriteLine(text_, ">>");
        WriteLine(text_, "stream");
        AppendOutside(samples);
        // The line end after the samples is not counted in /Length.
        WriteLine(text_);
        WriteLine(text_, "endstream");
        CloseObject();
    }
}

void TPrintPDF::WritePagesAndCatalog() {
    for (std::size_t k = 0; k < pageObjects_.size(); ++k) {
        OpenObject(pageObjects_[k]);
        WriteLine(text_, "<< /Type /Page");
        WriteLine(text_, "/Parent ", pagesObject_, " 0 R");
        WriteLine(text_, "/MediaBox [ 0 0 ", PageWidth, " ", PageHeight, "]");
        WriteLine(text_, "/Contents ", contentObjects_[k], " 0 R");
        WriteLine(text_, "/Resources ", resourcesObject_, " 0 R");
        WriteLine(text_, ">>");
        CloseObject();
    }

    OpenObject(catalogObject_);
    WriteLine(text_, "<< /Type /Catalog");
    WriteLine(text_, "/Pages ", pagesObject_, " 0 R");
    WriteLine(text_, "/Outlines ", outlinesObject_, " 0 R");
    WriteLine(text_, ">>");
    CloseObject();
}

void TPrintPDF::WriteCrossReference() {
    // Every number reserved has its object: the table has no holes.
    assert(offsets_.size() == static_cast<std::size_t>(lastReserved_) + 1);
    const std::int32_t entries = lastReserved_ + 1;  // the free entry 0 included
    WriteLine(text_, "xref");
    WriteLine(text_, "0 ", entries);
    WriteLine(text_, "0000000000 65535 f");
    for (std::size_t k = 0; k + 1 < offsets_.size(); ++k) {
        WriteLine(text_, ZeroPadded(offsets_[k], 10), " 00000 n");
    }
    WriteLine(text_, "trailer");
    WriteLine(text_, "<< /Size ", entries);
    WriteLine(text_, "/Root ", catalogObject_, " 0 R");
    WriteLine(text_, "/Info ", infoObject_, " 0 R");
    WriteLine(text_, ">>");
    WriteLine(text_, "startxref");
    WriteLine(text_, offsets_.back());
}

// Lines are most of a page: each made on the stack and appended at once, every number
// of it written once however many lines meet there.
void TPrintPDF::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    RequireOpen("DrawLine");
    // 64-bit: PageHeight - y must not overflow for any pair of 32-bit values.
    const std::int64_t height = PageHeight;
    const LinePiece stroke = StrokeText(LineWidth);
    char content[kMostLineChars];
    text_.append(content,
                 static_cast<std::size_t>(PutLineContent(content, PointText(x1, height - y1),
                                                         PointText(x2, height - y2), stroke) -
                                          content));
}

void TPrintPDF::DrawRectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    RequireOpen("DrawLine");
    const std::int64_t height = PageHeight;
    const LinePiece stroke = StrokeText(LineWidth);
    const LinePiece topLeft = PointText(x1, height - y1);
    const LinePiece bottomLeft = PointText(x1, height - y2);
    const LinePiece bottomRight = PointText(x2, height - y2);
    const LinePiece topRight = PointText(x2, height - y1);
    char content[4 * kMostLineChars];
    char* at = content;
    at = PutLineContent(at, topLeft, bottomLeft, stroke);
    at = PutLineContent(at, bottomLeft, bottomRight, stroke);
    at = PutLineContent(at, bottomRight, topRight, stroke);
    at = PutLineContent(at, topRight, topLeft, stroke);
    text_.append(content, static_cast<std::size_t>(at - content));
}

void TPrintPDF::FillRectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                              std::uint8_t level) {
    RequireOpen("FillRectangle");
    // Thousandths of full white, "0.753" for 192: digits, never the process locale's.
    const int thousandths = (level * 1000 + 127) / 255;
    std::string grey = thousandths == 1000 ? "1" : "0.";
    if (thousandths < 1000) {
        grey += ZeroPadded(static_cast<std::uint64_t>(thousandths), 3);
    }
    const std::int64_t height = PageHeight;
    WriteLine(text_, "q");
    WriteLine(text_, grey, " g");
    WriteLine(text_, std::min(x1, x2), " ", height - std::max(y1, y2), " ",
              std::int64_t{std::max(x1, x2)} - std::min(x1, x2), " ",
              std::int64_t{std::max(y1, y2)} - std::min(y1, y2), " re");
    WriteLine(text_, "f");
    WriteLine(text_, "Q");
}

// A text object is made whole and appended at once: on the stack for the short texts
// nearly every one is (a day's number, a name).
void TPrintPDF::DrawText(std::int32_t x, std::int32_t y, std::string_view text) {
    RequireOpen("DrawText");
    constexpr std::size_t kMostCharsAroundText = 128;
    const std::size_t room = kMostCharsAroundText + MostLiteralChars(text.size());
    char onStack[512];
    std::vector<char> onHeap(room > sizeof onStack ? room : 0);
    char* const object = onHeap.empty() ? onStack : onHeap.data();
    char* at = object;
    PutLine(at, "BT");
    PutLine(at, "/F", Font.Face + 1, " ", Font.Size, " Tf");
    PutLine(at, x, " ", std::int64_t{PageHeight} - y, " Td");
    at = PutLiteral(at, text);
    PutLine(at, " Tj");
    PutLine(at, "ET");
    text_.append(object, static_cast<std::size_t>(at - object));
}

void TPrintPDF::DrawImage(std::int32_t x, std::int32_t y, const Bitmap24& image) {
    DrawPicture(x, y, AddPicture(image));
}

std::int32_t TPrintPDF::AddPicture(const Bitmap24& image) {
    RequireOpen("AddPicture");
    const std::size_t sampleSize = 3 * static_cast<std::size_t>(std::max(image.width, 0)) *
                                   static_cast<std::size_t>(std::max(image.height, 0));
    if (image.width < 0 || image.height < 0 || image.rgb.size() != sampleSize) {
        throw std::invalid_argument("TPrintPDF::DrawImage: bitmap size does not match its data");
    }
    // The same pixels placed again (the calendar's weekend cells) share their samples.
    const std::string_view rgb(reinterpret_cast<const char*>(image.rgb.data()), image.rgb.size());
    const auto same = std::find(samples_.begin(), samples_.end(), rgb);
    const std::size_t samples = static_cast<std::size_t>(same - samples_.begin());
    if (same == samples_.end()) {
        samples_.emplace_back(rgb);
    }
    if (pictures_.capacity() == pictures_.size()) {
        pictures_.reserve(std::max<std::size_t>(16, 2 * pictures_.size()));
    }
    pictures_.push_back({image.width, image.height, samples});
    return static_cast<std::int32_t>(pictures_.size());
}

void TPrintPDF::DrawPicture(std::int32_t x, std::int32_t y, std::int32_t number) {
    RequireOpen("DrawPicture");
    if (number < 1 || static_cast<std::size_t>(number) > pictures_.size()) {
        throw std::out_of_range("TPrintPDF::DrawPicture: no picture " + std::to_string(number));
    }
    const Picture& picture = pictures_[static_cast<std::size_t>(number) - 1];
    const std::int64_t w = PictureSide(picture.width, PageWidth, 8.0, Screen.dpiX);
    const std::int64_t h = PictureSide(picture.height, PageHeight, 10.625, Screen.dpiY);

    // The unit square onto a w x h box whose top-left corner is (x, y).
    WriteLine(text_, "q");
    WriteLine(text_, w, " 0 0 ", h, " ", x, " ", std::int64_t{PageHeight} - y - h, " cm");
    // A picture without pixels paints nothing, and renderers reject drawing one.
    if (!samples_[picture.samples].empty()) {
        WriteLine(text_, "/Im", number, " Do");
    }
    WriteLine(text_, "Q");
}

void TPrintPDF::NewPage() {
    RequireOpen("NewPage");
    if (pageNumber_ == 1 && expectedPages_ > 1) {
        // The file so far is the first page and the document's start: an eighth more
        // for pages fuller than the first, and the objects after them.
        const auto pages = static_cast<std::size_t>(expectedPages_);
        const std::size_t firstPage = text_.size();
        text_.reserve(firstPage * pages + firstPage / 8 +
                      RoomAfterPages(pages, pictures_.size(), 0));
    }
    CloseContentStream();
    OpenContentStream();
    ++pageNumber_;
}

}  // namespace tessaly
