#pragma once
// The "Spoken Guidance" item of the main window's popup menu and the voice
// behind it. The choice is stored as Options\SpeakGuidance and read when the
// window loads; the voice is only looked for and started once the guidance is
// on, so a session without it runs as if it did not exist.
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/engine.h"
#include "session/guidance.h"

class QAction;

namespace serenitap {

class frmMain;

class GuidanceControl : public QObject {
  Q_OBJECT

 public:
  // Where the voice comes from: the desktop's speech service in the program,
  // a recording speaker in tests.
  struct Voice {
    // Why no voice can speak on this machine; empty when one can.
    std::function<QString()> missing;
    // Makes the speaker, which reports through the two callbacks.
    std::function<std::unique_ptr<ISpeaker>(std::function<void(std::uint32_t)> finished,
                                            std::function<void(const std::string&)> failed)>
        create;
  };
  static Voice DesktopVoice();

  // Drives the menu's "Spoken Guidance" item; its command calls Choose. Must
  // go before the engine does.
  GuidanceControl(SessionEngine& engine, frmMain& window, QAction& item, QObject* parent = nullptr);
  ~GuidanceControl() override;

  // Replaces the voice; only before the guidance is first turned on.
  void UseVoice(Voice voice) { voice_ = std::move(voice); }

  QAction& Item() { return *item_; }
  SpokenGuidance* Guidance() const { return guidance_.get(); }

  // Reads the stored choice; when it is on, the guidance starts as soon as
  // the event loop runs (after the window has been shown).
  void Load();
  // The window is closing: the voice stops.
  void Unload();
  // The user's choice, from the menu item: stored, then carried out.
  void Choose(bool on);
  // Enables the item, or disables it with a tool tip that says why.
  void CheckVoice();

 private:
  void TurnOn();

  SessionEngine& engine_;
  frmMain& window_;
  QPointer<QAction> item_;  // owned by the menu
  Voice voice_;
  std::optional<QString> missing_;  // looked up once
  std::unique_ptr<ISpeaker> speaker_;
  std::unique_ptr<SpokenGuidance> guidance_;
};

}  // namespace serenitap
