// Work spread over the machine's cores, for the builder's languages, which are built
// apart from each other.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>

namespace parlivo {

// Calls work(0) to work(count - 1), as many at once as the machine has cores, and
// returns when every call has. The first exception a call throws is thrown again here,
// after the other calls have ended.
void RunInParallel(size_t count, const std::function<void(size_t)>& work);

// A log several threads share: what one writes reaches the target a whole line at a
// time, never in the middle of another's line; a last line left unended is ended.
class TLineLog : public std::ostream {
 public:
  explicit TLineLog(std::ostream& target);
  ~TLineLog() override;
  TLineLog(const TLineLog&) = delete;
  TLineLog& operator=(const TLineLog&) = delete;

 private:
  class TLineBuffer;
  std::unique_ptr<TLineBuffer> FBuffer;
};

}  // namespace parlivo
