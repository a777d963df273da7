// A window that owns tool runs in tests: it records the launcher's messages, fetches the
// detail of each progress message as a real owner does, and can wait for the end message.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class CToolLauncher;

class OwnerRecorder : public QWidget {
 public:
  explicit OwnerRecorder(CToolLauncher& launcher) : launcher_(launcher) {}

  // Runs the event loop until the end message came (true) or timeoutMs passed (false);
  // then waits settleMs more so that a second end message would be seen.
  bool WaitForEnd(int timeoutMs = 20000, int settleMs = 100);

  std::vector<std::string> pieces;
  int progressMessages = 0;
  int endMessages = 0;
  std::vector<unsigned long> endWParams;

  std::string Text() const;

 protected:
  bool event(QEvent* event) override;

 private:
  CToolLauncher& launcher_;
};

// Runs the event loop for ms milliseconds.
void Pump(int ms);
