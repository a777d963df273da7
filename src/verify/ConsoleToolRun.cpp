#include "verify/ConsoleToolRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <memory>
#include <ostream>
#include <vector>

#include "framework/WindowMessage.h"
#include "outside/CToolLauncher.h"
#include "verify/StopSignals.h"

namespace {

constexpr unsigned kAbortCode = 0xF50B;

// The owner window the launcher posts to: never shown. Passes the run's messages to the
// sink and calls onEnded once the tool has ended.
class MessageWindow final : public QWidget {
 public:
  MessageWindow(CToolLauncher& launcher, ToolRunSink& sink, std::function<void()> onEnded)
      : launcher_(launcher), sink_(sink), onEnded_(std::move(onEnded)) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() != WindowMessageEvent::EventType()) return QWidget::event(e);
    auto* m = static_cast<WindowMessageEvent*>(e);
    EndWatcher watcher(sink_, *this);
    ObserveToolMessage(launcher_, m->message, m->wParam, watcher);
    m->result = 1;
    return true;
  }

 private:
  // Passes every call on and reports the end.
  class EndWatcher final : public ToolRunSink {
   public:
    EndWatcher(ToolRunSink& sink, MessageWindow& window) : sink_(sink), window_(window) {}
    void OnToolProgress(const std::string& detail) override { sink_.OnToolProgress(detail); }
    void OnToolEnded() override {
      sink_.OnToolEnded();
      window_.onEnded_();
    }

   private:
    ToolRunSink& sink_;
    MessageWindow& window_;
  };

  CToolLauncher& launcher_;
  ToolRunSink& sink_;
  std::function<void()> onEnded_;
};

}  // namespace

void StreamSink::OnToolProgress(const std::string& detail) { out_ << detail << std::flush; }

void ConsoleToolRun::Run(const Start& start) {
  RunEach(1, 1,
          [&](std::size_t, std::size_t, CToolLauncher& launcher, HWND owner) {
            start(launcher, owner);
          },
          {});
}

void ConsoleToolRun::RunEach(std::size_t count, std::size_t parallel, const StartEach& start,
                             const EndedEach& ended) {
  if (count == 0) return;
  parallel = std::clamp<std::size_t>(parallel, 1, count);
  QEventLoop loop;
  std::vector<std::unique_ptr<MessageWindow>> windows;
  std::vector<std::size_t> running(parallel, 0);
  std::size_t next = 0;
  std::size_t active = 0;
  int stopSignal = 0;
  // Starts the next tool in a free slot, when one is left and no stop was asked for.
  std::function<void(std::size_t)> startIn = [&](std::size_t slot) {
    if (stopSignal != 0 || next >= count) return;
    running[slot] = next++;
    ++active;
    start(running[slot], slot, launcher_, windows[slot].get());
  };
  for (std::size_t slot = 0; slot < parallel; ++slot) {
    windows.push_back(std::make_unique<MessageWindow>(launcher_, sink_, [&, slot] {
      --active;
      if (ended) ended(running[slot], slot);
      startIn(slot);
      if (active == 0) loop.quit();
    }));
  }
  {
    StopSignals stopSignals;
    QSocketNotifier notifier(stopSignals.ReadEnd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
      char buffer[16];
      while (::read(stopSignals.ReadEnd(), buffer, sizeof buffer) > 0) {
      }
      if (stopSignal == 0) {
        stopSignal = stopSignals.Caught();
        // Every running tool stops; their end messages still follow and the loop goes on
        // until they have come. With no tool running there is nothing to wait for.
        if (launcher_.AbortTool(kAbortCode, 1) != 0) loop.quit();
      }
    });
    for (std::size_t slot = 0; slot < parallel; ++slot) startIn(slot);
    if (active > 0) loop.exec();
    if (stopSignal == 0)
      stopSignal = stopSignals.Caught();  // came after the end, before the loop saw it
  }
  if (stopSignal != 0) {
    // End as the signal would have ended us: the caller's shell sees 128 + signal.
    std::signal(stopSignal, SIG_DFL);
    std::raise(stopSignal);
  }
}
