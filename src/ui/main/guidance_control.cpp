#include "ui/main/guidance_control.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "services/notice.h"
#include "settings/options.h"
#include "ui/main/after_first_paint.h"
#include "ui/main/main_window.h"
#include "ui/speech/speech.h"

namespace serenitap {
namespace {

const char* const kAvailableTip = "Speaks each step aloud: the point to tap and the words to say.";

}  // namespace

GuidanceControl::Voice GuidanceControl::DesktopVoice() {
  // The voice's module is loaded when the voice is first asked about; the
  // item stays greyed out, saying why, when it cannot be.
  Voice voice;
  voice.missing = [] {
    QString error;
    if (const SpeechModule* speech = LoadSpeech(error)) return speech->missing();
    return QStringLiteral("The voice of Serenitap could not be loaded (%1). Reinstalling Serenitap puts it back.")
        .arg(error);
  };
  voice.create = [](std::function<void(std::uint32_t)> finished,
                    std::function<void(const std::string&)> failed) -> std::unique_ptr<ISpeaker> {
    QString error;
    const SpeechModule* speech = LoadSpeech(error);
    return speech != nullptr ? speech->create(std::move(finished), std::move(failed)) : nullptr;
  };
  return voice;
}

GuidanceControl::GuidanceControl(SessionEngine& engine, frmMain& window, QAction& item, QObject* parent)
    : QObject(parent), engine_(engine), window_(window), item_(&item), voice_(DesktopVoice()) {
  item_->setToolTip(QString::fromLatin1(kAvailableTip));
  window_.WhenPopupMenuMade([self = QPointer<GuidanceControl>(this)](QMenu& menu) {
    if (self) connect(&menu, &QMenu::aboutToShow, self.data(), [guidance = self.data()] { guidance->CheckVoice(); });
  });
}

GuidanceControl::~GuidanceControl() { engine_.SetGuidance(nullptr); }

void GuidanceControl::Load() {
  if (!modOptions::SpeakGuidance()) return;
  item_->setChecked(true);
  // The voice starts once the window has been painted: finding the speech
  // engine, starting its thread and connecting to the speech service would
  // otherwise delay the first look of the window.
  const QPointer<GuidanceControl> self(this);
  AfterFirstPaint(window_, [self] {
    if (self && self->item_->isChecked()) self->TurnOn();
  });
}

void GuidanceControl::Unload() {
  if (guidance_ != nullptr) guidance_->TurnOff();
}

void GuidanceControl::Choose(bool on) {
  if (modOptions::SpeakGuidance(on) != "Success") {
    ShowNotice("The Spoken Guidance choice could not be saved; it holds until Serenitap closes.");
  }
  if (on) {
    TurnOn();
  } else if (guidance_ != nullptr) {
    guidance_->TurnOff();
  }
}

void GuidanceControl::CheckVoice() {
  if (!missing_.has_value()) missing_ = voice_.missing ? voice_.missing() : QString();
  item_->setEnabled(missing_->isEmpty());
  item_->setToolTip(missing_->isEmpty() ? QString::fromLatin1(kAvailableTip) : *missing_);
}

void GuidanceControl::TurnOn() {
  CheckVoice();
  if (!item_->isEnabled() || !voice_.create) {
    item_->setChecked(false);
    ShowNotice("Spoken Guidance is not available: " + missing_->toStdString());
    return;
  }
  if (guidance_ == nullptr) {
    speaker_ = voice_.create(
        [this](std::uint32_t phrase) {
          if (guidance_) guidance_->PhraseFinished(phrase);
        },
        [this](const std::string& reason) {
          if (guidance_) guidance_->SpeakerFailed(reason);
        });
    if (speaker_ == nullptr) {  // no voice after all
      item_->setChecked(false);
      return;
    }
    guidance_ = std::make_unique<SpokenGuidance>(*speaker_);
    guidance_->onTurnedOff = [this] {
      if (item_ != nullptr) item_->setChecked(false);
    };
    engine_.SetGuidance(guidance_.get());
  }
  item_->setChecked(true);
  const SessionState& s = engine_.State();
  guidance_->TurnOn(s.genmCurrentStep, s.genmSelectedIssue, s.gblnPositiveRound, window_.IsResumeAvailable(),
                    engine_.OwnWords(s.genmSelectedIssue));
}

}  // namespace serenitap
