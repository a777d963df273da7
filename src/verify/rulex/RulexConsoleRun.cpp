#include "RulexConsoleRun.h"

#include <QEventLoop>
#include <QWidget>

#include "CToolLauncher.h"
#include "WindowMessage.h"

namespace {

// The owner window the launcher posts to: never shown.
class MessageWindow final : public QWidget {
 public:
  MessageWindow(CToolLauncher& launcher, const ConsoleToolRunner::Sink& sink, QEventLoop& loop)
      : launcher_(launcher), sink_(sink), loop_(loop) {}

  bool ended = false;  // the end message may come before the loop runs

 protected:
  bool event(QEvent* e) override {
    if (e->type() != WindowMessageEvent::EventType()) return QWidget::event(e);
    auto* m = static_cast<WindowMessageEvent*>(e);
    if (m->message == WM_TOOL_PROGRESS) sink_(launcher_.GetProgressDialogDetail());
    if (m->message == WM_TOOL_ENDED && m->wParam == 1) {
      ended = true;
      loop_.quit();
    }
    m->result = 1;
    return true;
  }

 private:
  CToolLauncher& launcher_;
  const ConsoleToolRunner::Sink& sink_;
  QEventLoop& loop_;
};

}  // namespace

ConsoleToolRunner::ConsoleToolRunner(CToolLauncher& launcher, std::string product, Sink sink)
    : launcher_(launcher), product_(std::move(product)), sink_(std::move(sink)) {}

bool ConsoleToolRunner::Run(const RulexPlan& plan) {
  QEventLoop loop;
  MessageWindow window(launcher_, sink_, loop);
  launcher_.launchRulex(plan.options, product_, &window);
  if (!window.ended) loop.exec();
  return true;
}
