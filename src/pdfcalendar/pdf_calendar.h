#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/month_grid.h"
#include "pdf/bitmap.h"
#include "pdf/embedded_font.h"

namespace tessaly {

// Where a calendar page puts things, in whole points from its top-left corner. Letter
// is the desktop program's page; A4 follows the same rules on its own size.
struct PdfPageGeometry {
    int pageWidth = 792;
    int pageHeight = 612;
    int frameInset = 12;  // the frame, this far inside every edge
    int gridLeft = 18;
    int gridTop = 100;
    // The free width shared by seven columns; the free height divided by seven too,
    // though the grid has six rows. On both papers that is the size the weekend picture
    // takes at 96 DPI, so it shades exactly one cell.
    int columnWidth = 108;
    int rowHeight = 82;
    int textInset = 6;  // headings, day and week numbers start this far into a column
    int titleBaseline = 50;
    int headingBaseline = 92;
    int numberBaseline = 20;     // below its cell's top
    int weekNumberBaseline = 6;  // above its row's bottom
    int titleSize = 36;          // Helvetica-Bold, as the headings and numbers
    int textSize = 16;
    int weekNumberSize = 9;  // Helvetica
    // Events under the day number, in small Helvetica: the first line's baseline below
    // the cell's top, the distance between lines, and the room they keep above the
    // cell's bottom (more in a cell that shows its week number).
    int eventSize = 7;
    int eventBaseline = 31;
    int eventLeading = 8;
    int eventBottomRoom = 2;
    int eventBottomRoomAboveWeek = 17;
    int eventRightRoom = 3;
    // The day of the year and the days left ("123/242"), in small Helvetica ending this
    // far left of the cell's right line, its baseline below the cell's top.
    int dayOfYearSize = 7;
    int dayOfYearRightRoom = 4;
    int dayOfYearBaseline = 10;
    // Letter places its title by the window font's width of it, as the desktop program
    // always has; A4 centres it by its own width in the PDF font.
    bool titleByWindowFont = true;
    // Letter's Monday layout shades each weekend cell from one point below its top line,
    // as the desktop program always has; A4 shades its cells exactly.
    int mondayShadingDrop = 1;
};

PdfPageGeometry PageGeometryOf(Paper paper);

// Advance of Windows-1252 text in a standard font of `widths`, in thousandths of its size.
int WinAnsiAdvance(std::string_view winAnsiText, const WinAnsiWidths& widths);

// The 105 x 137 silver picture that shades weekend cells.
Bitmap24 WeekendPicture();

// x of the title for a title `titleWidth` window-font pixels wide: centred with the
// page's offset, halves rounded to even.
int TitleX(int titleWidth, int pageWidth = 792);

// x of a title centred on the page: `advance` is its width in thousandths of `size`.
int CentredTitleX(int pageWidth, int size, int advance);

// x of each page's title: centred by its own width where the page says so and the
// width is known (`boldWidths` for a title in the standard font, its glyphs for one in
// the embedded face), else placed by its width in the window font, `windowWidths[k]`.
std::vector<int> TitlePlaces(const PdfPageGeometry& page, const std::vector<std::string>& winAnsi,
                             const std::vector<GlyphRun>& glyphs, std::size_t firstTitle,
                             const std::optional<WinAnsiWidths>& boldWidths,
                             const std::vector<int>& windowWidths);

// Width of Windows-1252 text in the window font, MS Sans Serif with 13-pixel characters, for
// programs without a window to measure with.
int BuiltInWindowFontWidth(std::string_view winAnsiText);

// The same for UTF-8 text: a character the face does not hold is drawn as its default
// character, as the window would draw it. Text that is not UTF-8 is taken as
// Windows-1252.
int BuiltInWindowFontWidthOfUtf8(std::string_view utf8Text);

}  // namespace tessaly
