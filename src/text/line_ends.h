// Line ends: the two bytes and the pair, and text passed on from the one
// convention to the other.
#pragma once

#include <string>
#include <string_view>

namespace sympack::text {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
// The line end of DOS and Windows text files, the include file's among them.
constexpr std::string_view kCrLf = "\r\n";

// Text passed on with the system's line ends: a CR LF pair becomes one LF,
// also when the pair is split over two pieces. A lone CR or LF stays.
class CrLfToLf {
 public:
  // The next piece; what can be passed on so far (a CR at its end waits).
  std::string Pass(std::string_view bytes);
  // The end of the text: a CR still waiting.
  std::string Finish();

 private:
  bool pendingCr_ = false;
};

// Text passed on with Windows' line ends: an LF that does not follow a CR
// becomes CR LF, also when the CR ended the previous piece.
class LfToCrLf {
 public:
  std::string Pass(std::string_view bytes);

 private:
  bool afterCr_ = false;
};

}  // namespace sympack::text
