#pragma once

namespace loomscope {

// Every GL surface of the program is OpenGL 2.1 with the compatibility profile and the
// deprecated (fixed-function) calls: asking for 3.0 and more silently gives a core profile
// where those calls draw nothing. Set before the application object is made.
void setDefaultGlFormat();

} // namespace loomscope
