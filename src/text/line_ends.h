// Text passed on with the system's line ends: a CR LF pair becomes one LF,
// also when the pair is split over two pieces. A lone CR or LF stays.
#pragma once

#include <string>
#include <string_view>

namespace sympack::text {

class CrLfToLf {
 public:
  // The next piece; what can be passed on so far (a CR at its end waits).
  std::string Pass(std::string_view bytes);
  // The end of the text: a CR still waiting.
  std::string Finish();

 private:
  bool pendingCr_ = false;
};

}  // namespace sympack::text
