// The frame both installer wizards share: page list, bevel, page book,
// page label, the three buttons and the status bar, with the window's own
// properties, plus a helper that lays out the text lines of a page.
#pragma once

#include <string>
#include <vector>

#include "framework/resource.h"

namespace pendo {

struct twizardhandlers {
  std::vector<tprop> form, prevButton, nextButton, closeButton, note;
};

// The window and its frame; the pages follow as children of "note".
tformdesc WizardDescription(const char* name, const char* caption, const char* pageLabel,
                            const twizardhandlers& handlers);

// One label per line at left, top, 16 pixels apart; blue ones are drawn so.
// Labels are named page + "line" + a number.
void AddPageLines(tformdesc& form, const std::string& page, int top, const std::vector<const char*>& lines,
                  bool blue = false, int left = 16);

}  // namespace pendo
