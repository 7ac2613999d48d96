#include "text/line_ends.h"

namespace sympack::text {

std::string CrLfToLf::Pass(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 1);
  for (const char c : bytes) {
    if (pendingCr_ && c != '\n') out += '\r';
    pendingCr_ = c == '\r';
    if (!pendingCr_) out += c;
  }
  return out;
}

std::string CrLfToLf::Finish() {
  const bool cr = pendingCr_;
  pendingCr_ = false;
  return cr ? std::string("\r") : std::string();
}

}  // namespace sympack::text
