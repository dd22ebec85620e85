#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_spans.h"
#include "core/date_time.h"
#include "core/screen.h"
#include "pdf/bitmap.h"
#include "pdf/embedded_font.h"

namespace tessaly {

// Face 0..13 picks one of the 14 standard fonts, written as /F1../F14
// (0 Helvetica, 4 Courier, 8 Times-Roman, 12 Symbol, 13 ZapfDingbats); Size in points.
struct TPDFFont {
    std::uint8_t Face = 4;
    std::int32_t Size = 12;
};

// Builds an uncompressed PDF 1.4 document in memory, one page unless NewPage adds more,
// and hands it back whole from EndDocument: it reads no clock or screen and writes no
// file. Each byte is written once: the text goes into one buffer in file order, and
// pictures' samples and the font programs are handed over from where they are kept, a
// picture placed many times kept once. Every line ends in CR LF; every number is a
// decimal integer written without the process locale, but where a glyph is raised off
// its baseline, which may take a decimal fraction of thousandths.
//
// Calling order: set properties, BeginDocument, drawing calls (NewPage among them),
// EndDocument. Drawing or EndDocument without an open document throws std::logic_error.
class TPrintPDF {
  public:
    // `defaultName` is the Author, Creator and Producer until they are set.
    explicit TPrintPDF(std::string defaultName);

    std::string FileName;  // stored only: the caller saves the file under it
    // The information dictionary is written by BeginDocument: later changes are lost.
    std::string TITLE;
    std::string Author;
    std::string Creator;
    std::string Keywords;
    std::string Subject;
    std::string Producer;
    std::int32_t PageWidth = 612;  // points; keep unchanged from the first drawing call on
    std::int32_t PageHeight = 792;
    std::int32_t LineWidth = 1;  // read by each line drawn
    TPDFFont Font;               // read by each DrawText
    bool Compress = false;       // stored only: streams are never compressed
    LocalDateTime CreationDate;  // written by BeginDocument
    ScreenResolution Screen;     // read by each DrawImage and DrawPicture

    std::int32_t PageNumber() const { return pageNumber_; }

    // Starts a new document, discarding any earlier one, and writes the information
    // dictionary.
    void BeginDocument();
    // Writes the remaining objects, the cross-reference table and trailer, and returns
    // the finished file as its spans in file order, valid until the next BeginDocument
    // or the writer's end.
    ByteSpans EndDocument();

    // Coordinates are points with the origin at the top-left corner, y growing down.
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // The outline as four separately stroked sides.
    void DrawRectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // The rectangle between two corners painted in grey `level` (0 black .. 255 white),
    // without an outline; the level is the one number written as a decimal fraction
    // (three places), and later drawing is black again.
    void FillRectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::uint8_t level);
    // One line of single-byte (WinAnsi) text whose baseline starts at (x, y).
    void DrawText(std::int32_t x, std::int32_t y, std::string_view text);
    // Places `image` with its top-left corner at (x, y), scaled so that the page width
    // stands for 8 inches and the page height for 10.625 inches of screen pixels. Each
    // call adds a picture object of its own: AddPicture, then DrawPicture.
    // Throws std::invalid_argument when rgb.size() does not match the size.
    void DrawImage(std::int32_t x, std::int32_t y, const Bitmap24& image);
    // Keeps `image` as the document's next picture object and returns its number (1, 2,
    // ...), for DrawPicture to place as often as wanted. Throws like DrawImage.
    std::int32_t AddPicture(const Bitmap24& image);
    // Places picture `number` as DrawImage places a picture; throws std::out_of_range
    // for a number AddPicture has not given.
    void DrawPicture(std::int32_t x, std::int32_t y, std::int32_t number);

    // Ends the page drawn so far and starts the next, of the same size, with a content
    // stream of its own; later drawing calls go there. Every page shares the fonts and
    // the pictures.
    void NewPage();
    // A hint: the document will have `pages` pages, each about the size of the first.
    // Room for them all is made when the first ends, so that a long document's text is
    // not copied again and again as it grows. Changes no byte.
    void ExpectPages(std::int32_t pages) { expectedPages_ = pages; }

    // The next font that DrawGlyphs draws in: the k-th embedded (from 0) is face k of the
    // glyphs. Written after the catalog as font /F(15+k) (Type0 over a CIDFont, with its
    // subset program and a ToUnicode map) when glyphs of it were drawn; a document that
    // draws none of its glyphs is unchanged by it.
    void EmbedFont(EmbeddedFont font);
    // One line of glyphs of the embedded fonts at Font.Size, baseline starting at (x, y),
    // each glyph at its advance, moved by its offsets. A code's first glyph gives its
    // width and its text for copying (read from the right in a right-to-left glyph, as
    // readers take it); a run with marks, or whose codes would read back other text, is
    // copied whole through an ActualText of what its glyphs stand for, read the same way.
    // EndDocument throws std::logic_error when glyphs were drawn in a face not embedded.
    void DrawGlyphs(std::int32_t x, std::int32_t y, const GlyphRun& run);

    // The finished document in one piece, joined from its spans; valid after EndDocument
    // until the next BeginDocument.
    std::string FileBytes() const { return ByteSpans(spans_).Joined(); }

  private:
    void RequireOpen(const char* call) const;
    // Bytes of the file so far: its text and the spans kept outside it.
    std::uint64_t FileSize() const { return text_.size() + outsideSize_; }
    // Puts `bytes`, kept elsewhere until the file is handed over, next in the file.
    void AppendOutside(std::string_view bytes);
    void RecordOffset(std::size_t size);
    // The next object number, for an object written later by OpenObject(number).
    std::int32_t Reserve() { return ++lastReserved_; }
    // Writes the first line of object `number`, reserved earlier. Objects are written
    // in number order, as the cross-reference table lists their offsets.
    void OpenObject(std::int32_t number);
    // Reserves a number and opens its object at once.
    std::int32_t OpenObject();
    // Ends the object with "endobj" and records where the next one starts.
    void CloseObject();
    void WriteInformation();
    // A page's content stream: opened (its length an object of its own, written next)
    // and closed.
    void OpenContentStream();
    void CloseContentStream();
    void WriteFontsAndResources();
    // Numbers of the objects after the fonts, which the page tree and the resources refer
    // to before they are written.
    void ReserveLaterObjects();
    void WritePictures();
    void WritePagesAndCatalog();
    void WriteEmbeddedFonts();
    // Writes `run` as the inside of a text object whose glyphs need more than one plain
    // string: a face of their own or a place off their advance.
    void WritePlacedGlyphs(const GlyphRun& run);
    // The resource number of embedded face k: after the 14 standard fonts.
    static std::int32_t EmbeddedFontNumber(std::size_t k) {
        return 15 + static_cast<std::int32_t>(k);
    }
    void WriteCrossReference();

    bool open_ = false;
    std::int32_t pageNumber_ = 0;
    std::int32_t expectedPages_ = 1;
    std::int32_t lastReserved_ = 0;
    std::int32_t infoObject_ = 0;
    std::int32_t pagesObject_ = 0;
    std::int32_t resourcesObject_ = 0;
    std::int32_t outlinesObject_ = 0;
    std::int32_t catalogObject_ = 0;
    std::uint64_t runningOffset_ = 0;
    // offsets_[k] is where object k+1 starts; the last entry is where the next one will.
    std::vector<std::uint64_t> offsets_;
    std::vector<std::int32_t> fontObjects_;
    // The document's text in file order; the drawing calls write into the open page's
    // content stream at its end.
    std::string text_;
    // Spans kept outside text_, each with the size text_ had where it comes in.
    struct OutsideSpan {
        std::size_t textBefore = 0;
        std::string_view bytes;
    };
    std::vector<OutsideSpan> outside_;
    std::uint64_t outsideSize_ = 0;
    std::uint64_t objectStart_ = 0;   // where the object being written starts
    std::uint64_t contentStart_ = 0;  // where the open page's content starts
    // The finished file's spans, in order.
    std::vector<std::string_view> spans_;
    // The content stream's object number of each page, first page first.
    std::vector<std::int32_t> contentObjects_;
    std::int32_t contentLengthObject_ = 0;  // the open page's
    // Reserved by ReserveLaterObjects: each picture's, each page's.
    std::vector<std::int32_t> pictureObjects_;
    std::vector<std::int32_t> pageObjects_;
    // Each picture object, written after the resource dictionary at EndDocument, with
    // its samples: pictures of the same pixels share one copy of them.
    struct Picture {
        int width = 0;
        int height = 0;
        std::size_t samples = 0;  // index into samples_
    };
    std::vector<Picture> pictures_;
    std::vector<std::string> samples_;
    std::vector<EmbeddedFont> embeddedFonts_;
    // Each face's glyphs drawn, by code: its widths and ToUnicode entries; and its Type0
    // font's object, reserved by ReserveLaterObjects when it has glyphs (else 0).
    struct DrawnFace {
        std::map<std::uint16_t, EmbeddedGlyph> glyphs;
        std::int32_t object = 0;
    };
    std::vector<DrawnFace> drawnFaces_;
    std::vector<std::string> toUnicodeMaps_;  // the drawn faces' ToUnicode maps
};

}  // namespace tessaly
