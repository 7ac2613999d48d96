// Reads the reference data files written by make_vectors.py.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fst4_test {

inline std::vector<std::vector<std::string>> read_tsv(const char* path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::string field;
    std::istringstream fields_in(line);
    while (std::getline(fields_in, field, '\t')) fields.push_back(field);
    if (line.back() == '\t') fields.emplace_back();
    rows.push_back(fields);
  }
  return rows;
}

// The message-bits line the reference printed for `message` (blanks
// removed), or "" when the message is not among the vectors.
inline std::string reference_bits(const std::string& message, const std::string& hint) {
  for (const auto& row : read_tsv(FST4_VECTORS_FILE)) {
    if (row.size() == 5 && row[0] == message && row[1] == hint) {
      std::string bits = row[4];
      std::erase(bits, ' ');
      return bits;
    }
  }
  return {};
}

}  // namespace fst4_test
