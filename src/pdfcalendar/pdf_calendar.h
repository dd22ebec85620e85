#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
};

// The 105 x 137 silver picture that shades weekend cells.
Bitmap24 WeekendPicture();

// x of the title for a title `titleWidth` pixels wide: centred with the page's offset,
// halves rounded to even.
int TitleX(int titleWidth);

// The names as the PDF shows them: each converted to Windows-1252, or its English
// name where the locale's name has a character Windows-1252 cannot show.
NameTable PdfNames(const NameTable& names,
                   const std::function<std::optional<std::string>(std::string_view)>& toWinAnsi);

// Sets the document's properties and FileName, then builds and saves the page:
// frame, title, headings, and the grid column by column. The table (title and day
// names) is never mixed: names Windows-1252 holds in the standard font, else all of
// them in one embedded face, else all in English (see ChoosePdfTableTexts).
// `names` holds this generation's names in the platform encoding (slots 0-18).
void WritePdfCalendar(TPrintPDF& pdf, const CalendarRequest& request, const NameTable& names,
                      const Bitmap24& weekendPicture, const PdfCalendarEnvironment& environment,
                      const std::string& fileName);

// Width of Windows-1252 text in the window font, MS Sans Serif with 13-pixel characters, for
// programs without a window to measure with.
int BuiltInWindowFontWidth(std::string_view winAnsiText);

// The same for UTF-8 text: a character the face does not hold is drawn as its default
// character, as the window would draw it. Text that is not UTF-8 is taken as
// Windows-1252.
int BuiltInWindowFontWidthOfUtf8(std::string_view utf8Text);

}  // namespace tessaly
