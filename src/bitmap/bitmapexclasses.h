// The extended bitmap as a kind of picture, registered once at start-up
// after the framework's classes: pictures then load "*.dib" files ("Device
// Independent Bitmap") and CF_DIB clipboard data as tbitmapex.
#pragma once

namespace pendo {

void RegisterBitmapExClasses();

}  // namespace pendo
