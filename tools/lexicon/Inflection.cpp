#include "Inflection.h"

#include <algorithm>

#include "SourceEntry.h"

namespace parlivo {

std::vector<std::string> ReadWordForms(const std::string& path) {
  std::ifstream list = OpenSourceFile(path);
  std::vector<std::string> forms;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() &&
        std::all_of(line.begin(), line.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; }))
      forms.push_back(line);
  }
  return forms;
}

std::string InflectedMark(const std::string& base) {
  return "(" + base + ") ";
}

}  // namespace parlivo
