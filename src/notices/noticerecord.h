// One notice: a line of seven comma fields (type, weekday, month, day, hour,
// minute, message). Nothing in a line is validated; a line that does not
// follow the format is shown with empty pieces and is never due.
#pragma once

#include <string>

#include "settings/platform.h"

namespace pendo {

// The line the notice wizard starts a new notice with.
extern const char kNewNoticeRecord[];

// A record as the notice wizard edits it: the numbers are the indexes of its
// lists (-1 where a list has no selection).
struct tnoticerecord {
  enum class tkind { Weekly, Dated, Daily };

  int type = 0;
  int weekday = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  // Everything after the sixth comma, as typed.
  std::string text;

  // Every type but 0 and 1 is daily.
  tkind Kind() const { return type == 0 ? tkind::Weekly : type == 1 ? tkind::Dated : tkind::Daily; }
  // What is shown or started: the text up to its first comma.
  std::string Message() const { return text.substr(0, text.find(',')); }
  bool operator==(const tnoticerecord& o) const {
    return type == o.type && weekday == o.weekday && month == o.month && day == o.day && hour == o.hour &&
           minute == o.minute && text == o.text;
  }
};

// Reads line into record. False when the line does not follow the format: it
// has fewer than seven fields, or a number is not written as
// FormatNoticeRecord writes it; record then holds what can be read, numbers
// that are none as 0.
bool ParseNoticeRecord(const std::string& line, tnoticerecord& record);
// The line of a record: the six numbers in decimal, each followed by ",", then
// the text.
std::string FormatNoticeRecord(const tnoticerecord& record);

// The one-line description under which a line is shown to the user; hour and
// minute as they stand in the line.
std::string FormatNoticeText(const std::string& line);

// Whether the line falls due in the minute of when.
bool IsNoticeDue(const std::string& line, const platform::tlocaltime& when);

}  // namespace pendo
