#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace parlivo {

void RunInParallel(size_t count, const std::function<void(size_t)>& work) {
  std::atomic<size_t> next = 0;
  std::mutex failedLock;
  std::exception_ptr failed;
  const auto worker = [&] {
    for (size_t item; (item = next++) < count;) {
      try {
        work(item);
      } catch (...) {
        const std::lock_guard lock(failedLock);
        if (!failed) failed = std::current_exception();
        next = count;  // the build has failed: start nothing more
      }
    }
  };
  const size_t threads = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), count);
  std::vector<std::jthread> others;
  for (size_t t = 1; t < threads; ++t) others.emplace_back(worker);
  worker();
  others.clear();
  if (failed) std::rethrow_exception(failed);
}

// Holds what is written until a flush, then passes on the whole lines held.
class TLineLog::TLineBuffer : public std::streambuf {
 public:
  explicit TLineBuffer(std::ostream& target) : FTarget(target) {}
  ~TLineBuffer() override {
    if (!FHeld.empty() && FHeld.back() != '\n') FHeld.push_back('\n');
    Pass(FHeld.size());
  }

 protected:
  int overflow(int ch) override {
    if (ch != traits_type::eof()) FHeld.push_back(static_cast<char>(ch));
    return traits_type::not_eof(ch);
  }
  std::streamsize xsputn(const char* text, std::streamsize length) override {
    FHeld.append(text, static_cast<size_t>(length));
    return length;
  }
  int sync() override {
    const size_t end = FHeld.rfind('\n');
    if (end != std::string::npos) Pass(end + 1);
    return 0;
  }

 private:
  void Pass(size_t length) {
    if (length == 0) return;
    {
      static std::mutex targetLock;
      const std::lock_guard lock(targetLock);
      FTarget.write(FHeld.data(), static_cast<std::streamsize>(length));
      FTarget.flush();
    }
    FHeld.erase(0, length);
  }

  std::ostream& FTarget;
  std::string FHeld;
};

TLineLog::TLineLog(std::ostream& target)
    : std::ostream(nullptr), FBuffer(std::make_unique<TLineBuffer>(target)) {
  rdbuf(FBuffer.get());
}

TLineLog::~TLineLog() {
  flush();
  rdbuf(nullptr);
}

}  // namespace parlivo
