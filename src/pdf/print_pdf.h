#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date_time.h"
#include "core/product.h"
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

// What the writer needs from outside; the core itself has no clock, screen or files.
struct PdfWriterServices {
    // Local time for /CreationDate. Required.
    std::function<LocalDateTime()> now;
    // Read at each DrawImage; may be left empty where there is no screen (96 x 96).
    std::function<ScreenResolution()> screen;
    // Stores the finished file whole; throws on failure. Required.
    std::function<void(const std::string& path, std::string_view bytes)> save;
};

// Builds an uncompressed PDF 1.4 document in memory, one page unless NewPage adds more,
// and hands it to services.save in one piece. Every line ends in CR LF; every number is
// a decimal integer written without the process locale.
//
// Calling order: set properties, BeginDocument, drawing calls (NewPage among them),
// EndDocument. Drawing or EndDocument without an open document throws std::logic_error.
class TPrintPDF {
  public:
    // Throws std::invalid_argument when services.now or services.save is empty.
    explicit TPrintPDF(PdfWriterServices services);

    std::string FileName;  // read when EndDocument saves
    // The information dictionary is written by BeginDocument: later changes are lost.
    std::string TITLE;
    std::string Author{kMakerName};
    std::string Creator{kMakerName};
    std::string Keywords;
    std::string Subject;
    std::string Producer{kMakerName};
    std::int32_t PageWidth = 612;  // points; keep unchanged from the first drawing call on
    std::int32_t PageHeight = 792;
    std::int32_t LineWidth = 1;  // read by each line drawn
    TPDFFont Font;               // read by each DrawText
    bool Compress = false;       // stored only: streams are never compressed

    std::int32_t PageNumber() const { return pageNumber_; }

    // Starts a new document, discarding any earlier one, and writes the information
    // dictionary.
    void BeginDocument();
    // Writes the remaining objects, the cross-reference table and trailer, then calls
    // services.save(FileName, bytes); an error from save propagates unchanged.
    void EndDocument();

    // Coordinates are points with the origin at the top-left corner, y growing down.
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // The outline as four separately stroked sides.
    void DrawRectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
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

    // The font that DrawGlyphs draws in. Written after the catalog as font /F15
    // (Type0 over a CIDFont, with its subset program and a ToUnicode map) when glyphs
    // were drawn; a document that draws none is unchanged by it.
    void EmbedFont(EmbeddedFont font);
    // One line of glyphs of the embedded font at Font.Size, baseline starting at (x, y).
    // EndDocument throws std::logic_error when glyphs were drawn but no font embedded.
    void DrawGlyphs(std::int32_t x, std::int32_t y, const GlyphRun& run);

    // The finished document, valid after EndDocument until the next BeginDocument.
    const std::string& FileBytes() const { return fileBuffer_; }

  private:
    void RequireOpen(const char* call) const;
    void RecordOffset(std::size_t size);
    // Allocates the next object number, starts objectBuffer_ with its first line.
    std::int32_t OpenObject();
    // Ends objectBuffer_ with "endobj" and appends it to the file.
    void CloseObject();
    void WriteInformation();
    // A page's content stream: opened (its length to be the next object) and closed.
    void OpenContentStream();
    void CloseContentStream();
    void WriteFontsAndResources();
    void WritePictures();
    void WritePagesAndCatalog();
    void WriteEmbeddedFont();
    void WriteCrossReference();

    PdfWriterServices services_;
    bool open_ = false;
    std::int32_t pageNumber_ = 0;
    std::int32_t objectCount_ = 0;
    std::int32_t pagesObject_ = 0;
    std::int32_t resourcesObject_ = 0;
    std::int32_t outlinesObject_ = 0;
    std::int32_t catalogObject_ = 0;
    std::uint64_t runningOffset_ = 0;
    // offsets_[k] is where object k+1 starts; the last entry is where the next one will.
    std::vector<std::uint64_t> offsets_;
    std::vector<std::int32_t> fontObjects_;
    std::string fileBuffer_;
    std::string objectBuffer_;   // holds the head of the content stream while drawing
    std::string contentBuffer_;  // the page's drawing operators
    std::size_t contentHeadSize_ = 0;
    // The content stream's object number of each page, first page first.
    std::vector<std::int32_t> contentObjects_;
    // Each picture's object text (dictionary, "stream" line, samples), kept until
    // EndDocument writes it after the resource dictionary.
    struct Picture {
        int width = 0;
        int height = 0;
        bool empty = true;  // no samples: placed, it paints nothing
        std::string object;
    };
    std::vector<Picture> pictures_;
    std::optional<EmbeddedFont> embeddedFont_;
    // Every glyph drawn in the embedded font, by code: its widths and ToUnicode entries.
    std::map<std::uint16_t, EmbeddedGlyph> embeddedGlyphs_;
};

}  // namespace tessaly
