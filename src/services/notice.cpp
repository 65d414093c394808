#include "services/notice.h"

#include <iostream>
#include <utility>

namespace serenitap {
namespace {

void DefaultSink(const std::string& text) { std::cerr << text << '\n'; }

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
