#include "text/line_ends.h"

namespace sympack::text {

std::string CrLfToLf::Pass(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 1);
  for (const char c : bytes) {
    if (pendingCr_ && c != kLf) out += kCr;
    pendingCr_ = c == kCr;
    if (!pendingCr_) out += c;
  }
  return out;
}

std::string CrLfToLf::Finish() {
  const bool cr = pendingCr_;
  pendingCr_ = false;
  return cr ? std::string(1, kCr) : std::string();
}

std::string LfToCrLf::Pass(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    if (c == kLf && !afterCr_) out += kCr;
    out += c;
    afterCr_ = c == kCr;
  }
  return out;
}

}  // namespace sympack::text
