#pragma once

#include <QByteArray>
#include <functional>
#include <memory>

#include "platform/PreviousInstance.h"

namespace platform {

class InstanceService;

// The name the running copy owns on the session bus.
inline constexpr char kInstanceBusName[] = "example.vordanik.pelmora";

// Keeps the program, and the toolkit inside it, from starting a session bus of its own when
// none runs (one would outlive the program). Call before the application object exists.
void NeverStartASessionBus();

// One copy per desktop session: the first copy owns a well-known name on the session bus, which
// the bus gives to one connection at a time and drops when that process ends, however it ends.
// Later copies find the name taken and call the owner's small interface. Without a session bus
// every copy runs.
class SessionInstance final : public Scoped<PreviousInstance> {
 public:
  SessionInstance();
  ~SessionInstance() override;

  bool IsRunning() override;
  bool AskToActivate(const QByteArray& fileToOpen) override;

  // Called by the running copy when a later copy asks it to come to the front; `file` is the
  // file that copy was started with, or empty. Requests that came before a handler are kept.
  void SetActivationHandler(std::function<void(const QByteArray& file)> handler);

 private:
  std::unique_ptr<InstanceService> service_;  // what this copy offers on the bus while it runs
  bool checked_ = false;
  bool running_ = false;
};

}  // namespace platform
