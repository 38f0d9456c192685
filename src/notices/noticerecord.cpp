#include "notices/noticerecord.h"

#include <array>
#include <charconv>
#include <cstring>

#include "notices/schedulerclock.h"
#include "settings/textfields.h"

namespace pendo {

namespace {
enum Field { kType, kWeekday, kMonth, kDay, kHour, kMinute, kMessage };

const char kWeekly[] = "0";
const char kDated[] = "1";

// The due test runs for every record every minute; it reads the leading
// fields in place, as SplitText would cut them, without copying them.
struct tfieldview {
  const char* data = "";
  std::size_t size = 0;
  // Equal to the decimal text of value.
  bool Is(int value) const {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    const auto n = static_cast<std::size_t>(end - text);
    return n == size && std::memcmp(data, text, n) == 0;
  }
  bool Is(const char* text) const { return std::strlen(text) == size && std::memcmp(data, text, size) == 0; }
};

std::array<tfieldview, kMessage> LeadingFields(const std::string& record) {
  std::array<tfieldview, kMessage> fields;
  std::size_t start = 0;
  for (auto& f : fields) {
    if (start > record.size()) break;  // past the last field: empty
    const auto comma = record.find(',', start);
    const auto end = comma == std::string::npos ? record.size() : comma;
    f = tfieldview{record.data() + start, end - start};
    start = comma == std::string::npos ? record.size() + 1 : comma + 1;
  }
  return fields;
}

// Month and day are stored counted from 0 and shown counted from 1; anything
// that is not a number counts as 0. Wide enough that no stored value overflows.
std::string CountedFromOne(const std::string& field) { return std::to_string(ParseIntegerOr(field, 0) + 1LL); }
}  // namespace

const char kNewNoticeRecord[] = "0,0,0,0,0,0,新しいメッセージ";

std::string FormatNoticeText(const std::string& record) {
  static const char* const kWeekdayLabels[] = {"日曜日 ", "月曜日 ", "火曜日 ", "水曜日 ",
                                               "木曜日 ", "金曜日 ", "土曜日 "};
  ttextslots f;
  SplitText(record, ',', f, -1);
  std::string text;
  if (f[kType] == kWeekly) {
    text = "毎週 ";
    const std::string& day = f[kWeekday];
    if (day.size() == 1 && day[0] >= '0' && day[0] <= '6') text += kWeekdayLabels[day[0] - '0'];
  } else if (f[kType] == kDated) {
    text = CountedFromOne(f[kMonth]) + "月" + CountedFromOne(f[kDay]) + "日";
  } else {
    text = "毎日 ";
  }
  return text + f[kHour] + "時" + f[kMinute] + "分 " + f[kMessage];
}

bool IsNoticeDue(const std::string& record, tschedulerclock& clock) {
  // Clock values compared as decimal text, so a stored "05" never matches.
  const auto f = LeadingFields(record);
  if (f[kType].Is(kWeekly)) {
    if (!f[kWeekday].Is(clock.DayOfWeek() - 1)) return false;
  } else if (f[kType].Is(kDated)) {
    if (!f[kMonth].Is(clock.Month() - 1)) return false;
    if (!f[kDay].Is(clock.Day() - 1)) return false;
  }
  return f[kHour].Is(clock.Hour()) && f[kMinute].Is(clock.Minute());
}

std::string NoticeMessage(const std::string& record) {
  ttextslots f;
  SplitText(record, ',', f, -1);
  return f[kMessage];
}

}  // namespace pendo
