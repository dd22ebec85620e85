#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/conventions.h"
#include "calendar/events.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"
#include "core/byte_spans.h"
#include "core/date_time.h"
#include "core/screen.h"
#include "pdf/embedded_font.h"

namespace tessaly {

// What making a calendar file needs from the system it runs on. Everything is asked
// before the first page is drawn, except hearing of pages made and the final save.
class CalendarServices {
  public:
    virtual ~CalendarServices() = default;

    // The user's locale names, in UTF-8 (English where empty).
    virtual const LocaleNames& UserLocaleNames() = 0;
    // The faces of the machine's fonts for the texts asked (see EmbeddingRequest).
    virtual EmbeddingResult EmbedTextsForPdf(const EmbeddingRequest& request) = 0;
    // The PDF's creation date.
    virtual LocalDateTime Now() = 0;
    virtual ScreenResolution ScreenDpi() = 0;
    // Width in pixels of UTF-8 text in the window's font.
    virtual int TextWidthInWindowFont(const std::string& text) = 0;
    // A page that declares no encoding in the 8-bit encoding its names came in (the
    // locale's ANSI code page on Windows); unchanged where that is UTF-8.
    virtual std::string InNamesEncoding(std::string utf8Page) { return utf8Page; }
    // The terminal columns each of `characters` takes (wcwidth or its equivalent);
    // asked only for a year page or a text calendar with characters beyond ASCII.
    virtual std::vector<int> DisplayColumnsOf(std::u32string_view characters) {
        return std::vector<int>(characters.size(), 1);
    }
    // Hears of each page of a calendar of `pages` pages as it is made.
    virtual void PageMade(int /*page*/, int /*pages*/) {}
    // Writes a file whole (temporary file, then rename). FileCreateError when it cannot
    // be created or replaced; FileSaveError(writeErrorMessage) when its bytes cannot be
    // written.
    virtual void SaveFile(const std::string& path, ByteSpans bytes,
                          const std::string& writeErrorMessage) = 0;
};

// The folder a calendar goes into, with its trailing separator, and the folder to use
// instead when that folder takes no new files; the file's name, when it is not the
// calendar's own (see CalendarFileName).
struct CalendarDestination {
    std::string folder;
    std::optional<std::string> fallbackFolder;
    std::optional<std::string> fileName = {};
};

inline constexpr const char* kHtmlFileName = "calendar.html";
inline constexpr const char* kPdfFileName = "calendar.pdf";
// What an HTML page reports when its text cannot be written out.
inline constexpr const char* kSaveStreamError = "Failed to Save Stream";

// calendar.html or calendar.pdf for one month; for more, the range's first and last
// months: calendar-2026-12-to-2027-01.pdf; a year page from January, its year:
// calendar-2027.pdf.
std::string CalendarFileName(const CalendarRequest& request);

// Makes the calendar `request` asks for and returns the path written:
//  1. fills slots 0-18 of `names` with English or locale names; slot 19, the weekend
//     colour of the HTML page, is used as it stands;
//  2. composes the calendar's pages, each day with its `events`;
//  3. request.pdf off: empties `htmlLines`, builds the page into it and saves it as
//     calendar.html; on: draws the pages and saves them as calendar.pdf, leaving
//     `htmlLines` alone (other names: see CalendarDestination).
// A save that fails is reported as the saver reports it; "Failed to Save Stream" when
// an HTML page cannot be written, "Cannot create file <path>" when a PDF cannot.
// An HTML page with events or laid out by a locale's `conventions` (--regional, read
// beforehand) is UTF-8 throughout and says so; one without is in the names' encoding.
std::string MakeCalendarFile(const CalendarRequest& request, NameTable& names,
                             std::vector<std::string>& htmlLines,
                             const CalendarDestination& destination, CalendarServices& services,
                             const EventCalendar* events = nullptr,
                             const CalendarConventions* conventions = nullptr);

// The calendar `request` asks for as terminal text (request.pdf is not looked at), its
// names filled as above and its characters measured by the services; `today`, when
// given, is shown in reverse video.
std::string MakeCalendarText(const CalendarRequest& request, NameTable& names,
                             CalendarServices& services, const EventCalendar* events,
                             const std::optional<LocalDateTime>& today,
                             const CalendarConventions* conventions = nullptr);

}  // namespace tessaly
