#include "app/safe_application.h"

#include <exception>

#include "services/failure.h"

namespace serenitap {

bool SafeApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportFailure(std::current_exception(), "modMain", "EventHandler");
    return false;
  }
}

}  // namespace serenitap
