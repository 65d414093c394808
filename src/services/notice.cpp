#include "services/notice.h"

#include <utility>

#include "services/error_line.h"

namespace serenitap {
namespace {

void DefaultSink(const std::string& text) { WriteErrorLine(text); }

NoticeSink& Sink() {
  static NoticeSink sink = DefaultSink;
  return sink;
}

}  // namespace

void ShowNotice(std::string_view text) {
  try {
    Sink()(std::string(text));
  } catch (...) {
    // A notice is a courtesy: a sink that fails must not take the caller down with it.
  }
}

NoticeSink SetNoticeSink(NoticeSink sink) {
  NoticeSink previous = std::move(Sink());
  Sink() = sink ? std::move(sink) : NoticeSink(DefaultSink);
  return previous;
}

}  // namespace serenitap
