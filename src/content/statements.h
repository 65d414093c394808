#pragma once
// The statement sequences repeated while tapping. Each text is the sequence's
// statements joined by single CR LF line breaks.
#include <string>

#include "content/issues.h"

namespace serenitap::modIssues {

// The sequence for an issue; issues without a sequence get a placeholder.
std::string GetStringForNegativeSequence(enmIssue issue);
std::string GetStringForPositiveSequence(enmIssue issue);

std::string GetStringForNegativeSeq_AddictionsObsessions();
std::string GetStringForPositiveSeq_AddictionsObsessions();
std::string GetStringForNegativeSeq_AnxietyFearPanicPhobia();
std::string GetStringForPositiveSeq_AnxietyFearPanicPhobia();
std::string GetStringForNegativeSeq_Depression();
std::string GetStringForPositiveSeq_Depression();
std::string GetStringForNegativeSeq_Headaches();
std::string GetStringForPositiveSeq_Headaches();
std::string GetStringForNegativeSeq_NegativeMemory();
std::string GetStringForPositiveSeq_NegativeMemory();
std::string GetStringForNegativeSeq_Glossophobia();
std::string GetStringForPositiveSeq_Glossophobia();
std::string GetStringForNegativeSeq_RageAnger();
std::string GetStringForPositiveSeq_RageAnger();
std::string GetStringForNegativeSeq_SelfEsteem();
std::string GetStringForPositiveSeq_SelfEsteem();
std::string GetStringForNegativeSeq_Guilt();
std::string GetStringForPositiveSeq_Guilt();
std::string GetStringForNegativeSeq_PTSD();
std::string GetStringForPositiveSeq_PTSD();

}  // namespace serenitap::modIssues
