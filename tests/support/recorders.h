#pragma once
// Test doubles for the message-box and error-report sinks. Each recorder
// installs itself for its lifetime and restores the previous sink afterwards.
#include <deque>
#include <string>
#include <vector>

#include "services/error_report.h"
#include "services/message_box.h"

namespace serenitap::testing {

class MessageBoxRecorder {
 public:
  MessageBoxRecorder() {
    previous_ = SetMessageBoxSink([this](const MessageBoxRequest& r) {
      requests.push_back(r);
      if (answers.empty()) return DismissAnswer(r.buttons);
      const MsgAnswer a = answers.front();
      answers.pop_front();
      return a;
    });
  }
  ~MessageBoxRecorder() { SetMessageBoxSink(previous_); }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& r : requests) texts.push_back(r.text);
    return texts;
  }

  std::vector<MessageBoxRequest> requests;
  std::deque<MsgAnswer> answers;  // scripted answers, in order

 private:
  MessageBoxSink previous_;
};

class ReportRecorder {
 public:
  ReportRecorder() {
    previous_ = SetReportErrorSink([this](const ErrorReport& r) { reports.push_back(r); });
  }
  ~ReportRecorder() { SetReportErrorSink(previous_); }
  ReportRecorder(const ReportRecorder&) = delete;
  ReportRecorder& operator=(const ReportRecorder&) = delete;

  std::vector<ErrorReport> reports;

 private:
  ReportSink previous_;
};

}  // namespace serenitap::testing
