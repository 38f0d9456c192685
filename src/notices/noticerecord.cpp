#include "notices/noticerecord.h"

#include <array>
#include <charconv>
#include <cstring>

#include "settings/textfields.h"

namespace pendo {

namespace {
enum tfield { kType, kWeekday, kMonth, kDay, kHour, kMinute, kText };

// The due test runs for every record every minute; the fields are read in
// place, as SplitText would cut them, without copying them.
struct tfieldview {
  const char* data = "";
  std::size_t size = 0;
  std::string Text() const { return std::string(data, size); }
  // Equal to the decimal text of value.
  bool Is(int value) const {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    const auto n = static_cast<std::size_t>(end - text);
    return n == size && std::memcmp(data, text, n) == 0;
  }
  bool Is(const char* text) const { return std::strlen(text) == size && std::memcmp(data, text, size) == 0; }
};

// The six numbers and everything after the sixth comma; missing fields are
// empty. complete: the line has all seven.
struct tfields {
  std::array<tfieldview, kText + 1> f;
  bool complete = false;
  const tfieldview& operator[](int i) const { return f[static_cast<std::size_t>(i)]; }
};

tfields Fields(const std::string& line) {
  tfields fields;
  std::size_t start = 0;
  for (int i = kType; i <= kText && start <= line.size(); ++i) {
    const auto comma = i == kText ? std::string::npos : line.find(',', start);
    const auto end = comma == std::string::npos ? line.size() : comma;
    fields.f[static_cast<std::size_t>(i)] = tfieldview{line.data() + start, end - start};
    fields.complete = i == kText;
    start = comma == std::string::npos ? line.size() + 1 : comma + 1;
  }
  return fields;
}

// Month and day are stored counted from 0 and shown counted from 1; anything
// that is not a number counts as 0. Wide enough that no stored value overflows.
std::string CountedFromOne(const tfieldview& field) { return std::to_string(ParseIntegerOr(field.Text(), 0) + 1LL); }

const char kWeekly[] = "0";
const char kDated[] = "1";
}  // namespace

const char kNewNoticeRecord[] = "0,0,0,0,0,0,新しいメッセージ";

bool ParseNoticeRecord(const std::string& line, tnoticerecord& record) {
  const tfields f = Fields(line);
  bool exact = f.complete;
  int* const numbers[] = {&record.type, &record.weekday, &record.month,
                          &record.day,  &record.hour,    &record.minute};
  for (int i = kType; i < kText; ++i) {
    *numbers[i] = ParseIntegerOr(f[i].Text(), 0);
    exact = exact && f[i].Is(*numbers[i]);
  }
  record.text = f[kText].Text();
  return exact;
}

std::string FormatNoticeRecord(const tnoticerecord& r) {
  std::string line;
  for (int n : {r.type, r.weekday, r.month, r.day, r.hour, r.minute}) line += std::to_string(n) + ",";
  return line + r.text;
}

std::string FormatNoticeText(const std::string& line) {
  static const char* const kWeekdayLabels[] = {"日曜日 ", "月曜日 ", "火曜日 ", "水曜日 ",
                                               "木曜日 ", "金曜日 ", "土曜日 "};
  const tfields f = Fields(line);
  std::string text;
  if (f[kType].Is(kWeekly)) {
    text = "毎週 ";
    const tfieldview& day = f[kWeekday];
    if (day.size == 1 && day.data[0] >= '0' && day.data[0] <= '6') text += kWeekdayLabels[day.data[0] - '0'];
  } else if (f[kType].Is(kDated)) {
    text = CountedFromOne(f[kMonth]) + "月" + CountedFromOne(f[kDay]) + "日";
  } else {
    text = "毎日 ";
  }
  const std::string rest = f[kText].Text();
  return text + f[kHour].Text() + "時" + f[kMinute].Text() + "分 " + rest.substr(0, rest.find(','));
}

bool IsNoticeDue(const std::string& line, const platform::tlocaltime& when) {
  // Clock values compared as decimal text, so a stored "05" never matches.
  const tfields f = Fields(line);
  if (f[kType].Is(kWeekly)) {
    if (!f[kWeekday].Is(when.dayOfWeek)) return false;
  } else if (f[kType].Is(kDated)) {
    if (!f[kMonth].Is(when.month - 1) || !f[kDay].Is(when.day - 1)) return false;
  }
  return f[kHour].Is(when.hour) && f[kMinute].Is(when.minute);
}

}  // namespace pendo
