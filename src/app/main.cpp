#include <QApplication>
#include <cstdio>

#include "app/display_check.h"
#include "services/product.h"
#include "ui/dialogs/message_box_dialog.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

int main(int argc, char* argv[]) {
  if (auto reason = serenitap::MissingDisplayReason()) {
    std::fprintf(stderr, "%s\n", reason->c_str());
    return 1;
  }
  QApplication app(argc, argv);
  const QString name = QString::fromUtf8(serenitap::product::kName.data(),
                                         static_cast<qsizetype>(serenitap::product::kName.size()));
  QApplication::setApplicationName(name);
  serenitap::InstallMessageBoxDialogs();
  serenitap::frmMain window;
  serenitap::MainWindowController controller(window);
  controller.Form_Load();
  window.show();
  return QApplication::exec();
}
