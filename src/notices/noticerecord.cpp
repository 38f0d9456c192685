#include "notices/noticerecord.h"

#include "notices/schedulerclock.h"
#include "settings/textfields.h"

namespace pendo {

namespace {
enum Field { kType, kWeekday, kMonth, kDay, kHour, kMinute, kMessage };

const char kWeekly[] = "0";
const char kDated[] = "1";

// Month and day are stored counted from 0 and shown counted from 1; anything
// that is not a number counts as 0. Wide enough that no stored value overflows.
std::string CountedFromOne(const std::string& field) { return std::to_string(ParseIntegerOr(field, 0) + 1LL); }
}  // namespace

const char kNewNoticeRecord[] = "0,0,0,0,0,0,新しいメッセージ";

std::string FormatNoticeText(const std::string& record) {
  static const char* const kWeekdayLabels[] = {"日曜日 ", "月曜日 ", "火曜日 ", "水曜日 ",
                                               "木曜日 ", "金曜日 ", "土曜日 "};
  TextSlots f;
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
  TextSlots f;
  SplitText(record, ',', f, -1);
  // Clock values compared as decimal text, so a stored "05" never matches.
  auto is = [](const std::string& field, int value) { return field == std::to_string(value); };
  if (f[kType] == kWeekly) {
    if (!is(f[kWeekday], clock.DayOfWeek() - 1)) return false;
  } else if (f[kType] == kDated) {
    if (!is(f[kMonth], clock.Month() - 1)) return false;
    if (!is(f[kDay], clock.Day() - 1)) return false;
  }
  return is(f[kHour], clock.Hour()) && is(f[kMinute], clock.Minute());
}

std::string NoticeMessage(const std::string& record) {
  TextSlots f;
  SplitText(record, ',', f, -1);
  return f[kMessage];
}

}  // namespace pendo
