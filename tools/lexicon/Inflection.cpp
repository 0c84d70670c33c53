#include "Inflection.h"

#include <algorithm>

#include "Latin1.h"
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

std::vector<std::string> ReadSpeltForms(const std::string& path) {
  std::ifstream list = OpenSourceFile(path);
  std::vector<std::string> forms;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto latin1 = ToLatin1(line);
    if (!latin1 || latin1->empty() || !IsLatin1Letter(latin1->front())) continue;
    if (std::all_of(latin1->begin(), latin1->end(),
                    [](char ch) { return IsLatin1Letter(ch) || ch == '-' || ch == '\''; }))
      forms.push_back(line);
  }
  return forms;
}

std::string InflectedMark(const std::string& base) {
  return "(" + base + ") ";
}

}  // namespace parlivo
