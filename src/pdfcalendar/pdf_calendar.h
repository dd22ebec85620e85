#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/events.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"
#include "pdf/bitmap.h"
#include "pdf/embedded_font.h"
#include "pdf/print_pdf.h"

namespace tessaly {

// What the PDF calendar needs from its surroundings.
struct PdfCalendarEnvironment {
    // Width in pixels of a text (platform encoding) in the window's font.
    std::function<int(const std::string&)> titleWidth;
    // Platform text in Windows-1252, or nothing when a character cannot be shown.
    std::function<std::optional<std::string>(std::string_view)> toWinAnsi;
    // UTF-8 texts in one embedded face, or nothing when the machine cannot draw them all
    // correctly. Left empty, a table with a name outside Windows-1252 is English.
    std::function<std::optional<EmbeddedTexts>(const std::vector<std::string>&)> embedTexts = {};
    // This generation's names in UTF-8 (slots 0-18) where `names` come in a code page
    // that may have lost characters (Windows); nothing when `names` are UTF-8 already.
    std::optional<NameTable> unicodeNames = {};
    // Helvetica-Bold's widths, for a title centred by its own width (A4); nothing, or
    // left empty, where they cannot be measured.
    std::function<std::optional<WinAnsiWidths>()> titleFontWidths = {};
    // Hears of each page as it is drawn (1, 2, ...).
    std::function<void(int)> pageDone = {};
    // The events of the days shown, listed under their day numbers; nothing for none.
    const EventCalendar* events = nullptr;
};

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
    // Letter places its title by the window font's width of it, as the desktop program
    // always has; A4 centres it by its own width in the PDF font.
    bool titleByWindowFont = true;
    // Letter's Monday layout shades each weekend cell from one point below its top line,
    // as the desktop program always has; A4 shades its cells exactly.
    int mondayShadingDrop = 1;
};

PdfPageGeometry PageGeometryOf(Paper paper);

// The 105 x 137 silver picture that shades weekend cells.
Bitmap24 WeekendPicture();

// x of the title for a title `titleWidth` window-font pixels wide: centred with the
// page's offset, halves rounded to even.
int TitleX(int titleWidth, int pageWidth = 792);

// x of a title centred on the page: `advance` is its width in thousandths of `size`.
int CentredTitleX(int pageWidth, int size, int advance);

// The names as the PDF shows them: each converted to Windows-1252, or its English
// name where the locale's name has a character Windows-1252 cannot show.
NameTable PdfNames(const NameTable& names,
                   const std::function<std::optional<std::string>(std::string_view)>& toWinAnsi);

// Sets the document's properties and FileName, then builds one page per month of the
// request: frame, title, headings, the grid column by column (each day's events under its
// number), and the week numbers when asked for. The table (titles and day names)
// is never mixed: names Windows-1252 holds in the standard font, else all of them in one embedded
// face, else all in English (see ChoosePdfTableTexts). A file of one month keeps one picture object
// per shaded cell; more months share one. `names` holds this generation's names in the platform
// encoding (slots 0-18). Returns the finished file from pdf.EndDocument, for the caller to
// save; the writer's CreationDate and Screen are the caller's to set.
ByteSpans WritePdfCalendar(TPrintPDF& pdf, const CalendarRequest& request, const NameTable& names,
                           const Bitmap24& weekendPicture,
                           const PdfCalendarEnvironment& environment, const std::string& fileName);

// Width of Windows-1252 text in the window font, MS Sans Serif with 13-pixel characters, for
// programs without a window to measure with.
int BuiltInWindowFontWidth(std::string_view winAnsiText);

// The same for UTF-8 text: a character the face does not hold is drawn as its default
// character, as the window would draw it. Text that is not UTF-8 is taken as
// Windows-1252.
int BuiltInWindowFontWidthOfUtf8(std::string_view utf8Text);

}  // namespace tessaly
