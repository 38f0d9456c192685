// The about box's component: it holds the product's texts and small icon,
// gives the primary window its caption, tray icon and tip, and shows a fresh
// about box each time it is executed.
#pragma once

#include <string>

#include "forms/versioninfo.h"
#include "framework/component.h"
#include "framework/icon.h"

namespace pendo {

class tversiondialog : public tcomponent, public tversioninfo {
 public:
  explicit tversiondialog(tcomponent* owner);

  std::string ApplicationTitle() const override { return applicationTitle_; }
  void SetApplicationTitle(const std::string& v) { applicationTitle_ = v; }
  const std::string& ProjectTitle() const { return projectTitle_; }
  void SetProjectTitle(const std::string& v) { projectTitle_ = v; }
  std::string VersionValue() const override { return versionValue_; }
  void SetVersionValue(const std::string& v) { versionValue_ = v; }
  const std::string& BuildDateValue() const { return buildDateValue_; }
  void SetBuildDateValue(const std::string& v) { buildDateValue_ = v; }
  const ticon& SmallIcon() const { return smallIcon_; }
  // Copies the icon into the component's own.
  void SetSmallIcon(const ticon& icon) { smallIcon_.Assign(icon); }
  HICON SmallIconHandle() const override { return smallIcon_.Handle(); }

  // Builds a new about box, fills it and shows it modally.
  void Execute();

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  std::string applicationTitle_, projectTitle_, versionValue_, buildDateValue_;
  ticon smallIcon_;
};

}  // namespace pendo
