// One notice: a line of seven comma fields (type, weekday, month, day, hour,
// minute, message). Nothing in a line is validated; a line that does not
// follow the format is shown with empty pieces and is never due.
#pragma once

#include <string>

namespace pendo {

class tschedulerclock;

// The line the notice wizard starts a new notice with.
extern const char kNewNoticeRecord[];

// The one-line description under which a record is shown to the user.
std::string FormatNoticeText(const std::string& record);

// Whether the record falls due now. Each clock value is read at the moment of
// its comparison, and the test stops at the first field that differs.
bool IsNoticeDue(const std::string& record, tschedulerclock& clock);

// The text the scheduler shows or starts: field 6, which a comma ends.
std::string NoticeMessage(const std::string& record);

}  // namespace pendo
