// The simulator's reports the outcome table runs on: the reference report
// for CQ K1ABC FN42 and its variations (another decoded text, a listing cut
// short or laid out otherwise, no listing at all).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "../fakes/fake_common.h"

namespace sympack::run {
namespace {

// The reference simulator's report for CQ K1ABC FN42, its Message: line
// giving `decoded`, and only the first `listingRows` rows of its listing.
std::string Report(const std::string& decoded = "CQ K1ABC FN42", std::size_t listingRows = 16) {
  std::string report;
  std::size_t listed = 0;
  for (std::size_t at = 0; at < std::size(fake::kGoodReportLines); ++at) {
    const std::string_view line = fake::kGoodReportLines[at];
    const bool listingRow = at > 7 && !line.empty();
    if (listingRow && listed++ >= listingRows) continue;
    report += at == 1 ? fake::MessageLine(decoded) : std::string(line);
    report += "\r\n";
  }
  return report;
}

// The reference listing of CQ K1ABC FN42: 160 symbols.
std::string ReferenceListing() {
  std::string listing;
  for (std::size_t at = 8; at < 24; ++at) listing += fake::kGoodReportLines[at];
  return listing;
}

// The report with `listing` in rows of `rowLength` characters (the last one
// shorter).
std::string ReportListing(const std::string& listing, std::size_t rowLength = 10) {
  std::string report;
  for (std::size_t at = 0; at < 8; ++at) report += std::string(fake::kGoodReportLines[at]) + "\r\n";
  for (std::size_t at = 0; at < listing.size(); at += rowLength) report += listing.substr(at, rowLength) + "\r\n";
  return report + "\r\n";
}

// The reference listing with one character put in place of another.
std::string ListingWith(char c, std::size_t at) {
  std::string listing = ReferenceListing();
  listing[at] = c;
  return listing;
}

std::string ReportWithoutListing() {
  std::string report;
  for (std::size_t at = 0; at < 7; ++at) report += std::string(fake::kGoodReportLines[at]) + "\r\n";
  return report;
}

}  // namespace
}  // namespace sympack::run
