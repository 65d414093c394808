// The statements the user repeats while tapping: for every selectable issue a
// negative sequence (negative rounds) and a positive one (positive rounds).
// Non-ASCII characters are written as UTF-8 escapes: \xC2\xA0 is a no-break
// space, \xE2\x80\x99 a typographic apostrophe.
#include "content/statements.h"

#include <initializer_list>
#include <string_view>

#include "services/failure.h"

namespace serenitap::modIssues {
namespace {

constexpr std::string_view kModule = "modIssues";

// The statements joined by single line breaks, none before the first or after the last.
std::string Join(std::initializer_list<std::string_view> statements) {
  std::string text;
  for (std::string_view s : statements) {
    if (!text.empty()) text += "\r\n";
    text += s;
  }
  return text;
}

std::string Sequence(std::string_view procedure, std::initializer_list<std::string_view> statements) {
  std::string text;
  Guarded(kModule, procedure, [&] { text = Join(statements); });
  return text;
}

}  // namespace

// The sequences are data: one statement a line.
// clang-format off
std::string GetStringForNegativeSeq_AddictionsObsessions() {
  return Sequence("GetStringForNegativeSeq_AddictionsObsessions", {
      "I cannot control myself.",
      "This is stronger than me.",
      "Day by day it gets more difficult.",
      "It is so tempting... I'm so easily tempted...",
      "I have no respect for myself.",
      "I lost respect for myself.",
      "I don't have power over my mind.",
      "I don't have self-discipline.",
      "I don't have strong will.",
      "This pain is so overwhelming...",
      "I cannot control my anxieties...",
      "My choices are not wise...",
      "It's hard to breathe...",
  });
}

std::string GetStringForPositiveSeq_AddictionsObsessions() {
  return Sequence("GetStringForPositiveSeq_AddictionsObsessions", {
      "Pain is the source of my addiction; I release this pain now.",
      "I am free.\xC2\xA0""I can do anything\xC2\xA0""I want. I love life.",
      "I am calm. I breathe deeply.",
      "I am healthy, strong and powerful.",
      "I take care about my health. I protect myself.",
      "I make my own choices. They are wise choices.",
      "I am relaxed. I release anxiety. I release stress.",
      "I am in control of myself and my thoughts.",
      "I love people and people love me.",
      "I am free from addictions. I won.",
      "I am a success, not a failure.",
      "I forgive myself everything.",
      "I stay in control.",
      "I respect myself and my body.",
      "I am not tempted at all.",
      "It's so easy to turn down bad things.",
  });
}

std::string GetStringForNegativeSeq_AnxietyFearPanicPhobia() {
  return Sequence("GetStringForNegativeSeq_AnxietyFearPanicPhobia", {
      "I cannot calm myself down.",
      "I cannot relax.",
      "I feel awful. I don't feel safe.",
      "All this fear...",
      "It hurts... I feel so helpless...",
      "How can I live like that?",
      "I am struggling to live like that.",
      "I keep running away from it, but it still has the power over me.",
      "I am afraid that it can get even worse.",
      "This fear is so strong... It's so heavy...",
      "I tried everything and nothing helps...",
      "I'm so overwhelmed ...",
      "I wonder why this is happening to me ...",
      "This is driving me crazy.",
      "I suffer so much.",
      "I cannot focus on anything.",
  });
}

std::string GetStringForPositiveSeq_AnxietyFearPanicPhobia() {
  return Sequence("GetStringForPositiveSeq_AnxietyFearPanicPhobia", {
      "I breathe slowly, deeply and naturally. I remain calm.",
      "I realease this anxiety, I release this fear.",
      "I release this panic. I release this phobia.",
      "I am calm. I am relaxed. I feel great. I am safe.",
      "I am not afraid of anything. I am so courageous and confident.",
      "Taking deep breaths comes naturally to me and helps me relax.",
      "I enjoy my life. Life is fun. I am in control of my life.",
      "Handling pressure is so easy for me.",
      "I can easily calm myself down whenver I want.",
      "I live in peace. I am so powerful and strong.",
      "I am detached from these bad feelings... They are not me...",
      "I let go of all these bad feelings... I am free of them...",
      "I am in control of my thoughts, reactions and emotions.",
      "Everything is fine in my life.",
      "I have overcome my fear. I won.",
      "Feeling calm and safe is so easy.",
  });
}

std::string GetStringForNegativeSeq_Depression() {
  return Sequence("GetStringForNegativeSeq_Depression", {
      "I feel awful. I don't feel safe and sound.",
      "Why it always go so wrong?",
      "I feel that I'm not good enough.",
      "It all feels so wrong. It feels so heavy.",
      "It seems that I cannot do anything about this and it's so depressing.",
      "These problems are too big for me. It's too much.",
      "There is so much on my shoulders, there is so much in my head.",
      "I don't see solutions to my problems.",
      "I don't see light in my life.",
      "It's so tempting to give up.",
      "All this sadness... All these troubles...",
      "It seems like it will last forever...",
      "So many negative thoughts... So many negative feelings...",
      "It hurts... It feels so helpless...",
      "I can't focus on anything.",
      "I can't let go of this...",
  });
}

std::string GetStringForPositiveSeq_Depression() {
  return Sequence("GetStringForPositiveSeq_Depression", {
      "I love myself for who I am. I love myself unconditionally.",
      "I am in control of my thoughts and my life.",
      "I am strong. I am stronger than I think.",
      "I have choices. I choose new responses to old situations. ",
      "Nobody is above me and nobody is below me.",
      "I am safe and sound. All is well.",
      "I am good and smart and that\xE2\x80\x99""s how people see me.",
      "It's okay where I am right now",
      "I grow by doing what\xE2\x80\x99""s hard to do.",
      "I ask for inner peace. I let it go...",
      "I see my true needs and choose positive ways of satisfying them.",
      "I can trust my soul - it knows the way.",
      "I am responsible for changing what I do not like in my life.",
      "I will not repeat the same mistakes over and over, I will move forward.",
      "I am not afraid. I handle my life with joy and ease.",
      "I release myself from this depression.",
  });
}

std::string GetStringForNegativeSeq_Headaches() {
  return Sequence("GetStringForNegativeSeq_Headaches", {
      "I cannot relax beause of this terrible headache.",
      "This headache is driving me crazy.",
      "My head is about to explode. This pain only gets worse.",
      "This debilitating pain in my head...",
      "They told me it will be always like this.",
      "It will always hurt and it will never go away.",
      "I suffer so much from these headaches.",
      "I cannot focus on anything.",
      "Nobody understands how I feel.",
      "I'm sick and tired of pain killers. They do not help anymore.",
      "Sometimes I think I'll be not able to take it anymore.",
      "Nothing works for me...",
      "I can't stop thinking about my headache.",
      "I can't let go of this headache.",
      "What if this goes worse?",
  });
}

std::string GetStringForPositiveSeq_Headaches() {
  return Sequence("GetStringForPositiveSeq_Headaches", {
      "I'm good. I'm worthy. I'm safe.",
      "I let go of this headache.",
      "I release all this pain.",
      "Letting it go... It's so easy to let it go.",
      "I let go of all stress.",
      "Letting go of stress is so easy...",
      "I feel comforable.",
      "I am at peace and relaxed.",
      "My head feels better and better...",
      "I can easily release pain from my body.",
      "I'm free from this headache.",
      "It feels so good...",
      "I let go of negative thoughts.",
      "I love and forgive...",
      "I relax... I breathe deeply...",
      "The headache is gone and will not come back.",
  });
}

std::string GetStringForNegativeSeq_NegativeMemory() {
  return Sequence("GetStringForNegativeSeq_NegativeMemory", {
      "I cannot deal with my past...",
      "I'm struggling to live with this...",
      "I cannot do anything about this...",
      "I cannot accept what happened...",
      "I am paralyzed with shame and fear...",
      "The burden is so heavy...",
      "I have no peace...",
      "I cannot move on from the past...",
      "I cannot let go of this...",
      "I cannot accept my shame...",
      "I cannot release this.",
      "How to resolve this?",
      "I don't feel safe. I keep running away from my past.",
      "It seems that I cannot do anything about this and it's so depressing.",
      "This negative memory... It hurts so much...",
      "I can't let go of this negative memory...",
  });
}

std::string GetStringForPositiveSeq_NegativeMemory() {
  return Sequence("GetStringForPositiveSeq_NegativeMemory", {
      "I am emotionally detached from what happened.",
      "I look at this as if it happened to someone else.",
      "I am strong enough to deal with this negative memory.",
      "I make peace with my past.",
      "My past has no power over me.",
      "I finally resolved this. I am liberated.",
      "I am calm.",
      "This memory has no longer the power to paralyze me.",
      "I am in control.",
      "I am letting go of this negative memory.",
      "I am moving on with my life.",
      "I let go of my past.",
      "I have learned from my past.",
      "I allow myself to be happy again.",
      "I reclaimed my life.",
      "I am so proud of myself.",
  });
}

std::string GetStringForNegativeSeq_Glossophobia() {
  return Sequence("GetStringForNegativeSeq_Glossophobia", {
      "I freeze in front of the audience.",
      "I am so scared of taking the stage...",
      "I  don\xE2\x80\x99""t want to be the centre of attention.",
      "So many things can go wrong...",
      "What if I forget what to say?",
      "What if people laugh at me?",
      "What if people leave?",
      "My mouth dries up... My voice is weak...",
      "My body starts shaking...",
      "These panic attacks...",
      "These butterlfies in the stomach... These sweathy palms...",
      "This stiffening of the neck...",
      "I run away form any opportunity to speak in public.",
      "I cannot sleep...",
      "I hate talking in front of people.",
      "I cannot control myself when speaking...",
  });
}

std::string GetStringForPositiveSeq_Glossophobia() {
  return Sequence("GetStringForPositiveSeq_Glossophobia", {
      "Meaning what I say is at the heart of my presentation.",
      "I believe and trust my story.",
      "I am confident in front of the audience.",
      "I shed whatever is blocking me from expressing who I am.",
      "I feel comfortable and relaxed.",
      "My presentations shine and are convincing.",
      "I am well prepared and in control.",
      "I can concentrate for long periods of time.",
      "I reveal the abilities I truly have.",
      "When I speak I am captivating, enthusiastic and comfortable.",
      "I am authentic, beliveable and genuine.",
      "I win the crowds over.",
      "I am a confident public speaker.",
      "I am in the flow when I speak.",
      "I love talking in front of people.",
      "I have empathy for my audience.",
  });
}

std::string GetStringForNegativeSeq_RageAnger() {
  return Sequence("GetStringForNegativeSeq_RageAnger", {
      "So much anger...",
      "I cannot remain calm and clear-minded...",
      "All these harsh experiences...",
      "I cannot stay calm and collected...",
      "I am not at peace with my emotions.",
      "I cannot heal of anger and resentment...",
      "I cannot keep my composure.",
      "I am not good enough.",
      "I cannot release old hurt...",
      "All this frustration...",
      "I cannot let go of my anger....",
      "I cannot go of criticism...",
      "I cannot forgive...",
      "I made so many mistakes.",
      "I cannot rest in my mind.",
      "All these problems...",
  });
}

std::string GetStringForPositiveSeq_RageAnger() {
  return Sequence("GetStringForPositiveSeq_RageAnger", {
      "My mind is clear and open.",
      "I am good enough.",
      "I am at peace with all of my emotions.",
      "I let negative thoughts roll off of me.",
      "I forgive. I am completely healed.",
      "I focus on the positives.",
      "I feel deeply relaxed and calm.",
      "I am in control of my emotions.",
      "I trust life. I always keep my composure.",
      "It is safe to let go.",
      "I have great experiences with ease and joy.",
      "I let go of criticism effortlessly.",
      "I am free of all frustration.",
      "I peacefully rest in my mind.",
      "I let go of my anger.",
      "I release old hurt, anger and resentment.",
  });
}

std::string GetStringForNegativeSeq_SelfEsteem() {
  return Sequence("GetStringForNegativeSeq_SelfEsteem", {
      "I am worried when someone disagrees with me.",
      "I tell people what they want to hear.",
      "I do something which I do not want to do because I am afraid to say 'No'.",
      "I ask permission when it is not required.",
      "I often apologise for my words and deeds.",
      "I soften my position when someone appears to disapprove.",
      "I worry what others think about me.",
      "I fear criticism.",
      "I value the beliefs, opinions and needs of others above my own.",
      "I behave in a non-conforming manner in order to draw attention to myself.",
      "I sometimes express agreement when I do not agree.",
      "I fail to complain when I have received poor service.",
      "I am not as good as others.",
      "I hold myrself back from speaking my opinions.",
      "I hide my true self",
      "I can do anything to gain approval or attention.",
  });
}

std::string GetStringForPositiveSeq_SelfEsteem() {
  return Sequence("GetStringForPositiveSeq_SelfEsteem", {
      "I live a life that is true to my own values.",
      "I am honest  and humble, yet confident and strong.",
      "I respect my right to have my own opinion.",
      "I am true to myself.",
      "I believe and trust my story.",
      "I stand up for what I believe in.",
      "I live by my own values.",
      "I don't need anyone's approval.",
      "I can esasily handle conflict and stressful situations.",
      "I catch myself when I seek approval and take corrective action.",
      "I trust myself. I am OK!",
      "Approval seeking is a major waste of time.",
      "I am confident, enthusiastic and comfortable.",
      "I reveal the abilities I truly have.",
      "I shed whatever is blocking me from expressing who I am.",
      "I let go of seeking validation from others.",
  });
}

std::string GetStringForNegativeSeq_Guilt() {
  return Sequence("GetStringForNegativeSeq_Guilt", {
      "I feel so guilty. I had no right to do this.",
      "I am so angry at myself. I'm so mad at myself. I shouldn't have done it.",
      "It's so shameful. It's so painful. It feels so heavy.",
      "I feel like a dirty pig. It's so wrong. Why I was so stupid?",
      "I cannot change this and it's so depressing.",
      "I feel so embarassed and humiliated. What's wrong with me?",
      "I should have seen the signs.",
      "I don't know who I am anymore. I don't know what to do now.",
      "The way I feel now is a punishment. How can I carry around this guilt?",
      "This should never happen. I hate myself for what I've done.",
      "This feels like the end of the world. I shold have know better.",
      "I feel the hurt I've caused.",
      "It's all my fault. I'm paying the price for what I've done.",
      "I am haunted by the reality of what I have done.",
      "Why did I do this?",
      "I feel awful.",
  });
}

std::string GetStringForPositiveSeq_Guilt() {
  return Sequence("GetStringForPositiveSeq_Guilt", {
      "I take responsibility for what I've done and for my life.",
      "I cannot go back and make a brand new start, but I can start from now and make a brand new ending.",
      "I humble myself and ask for forgiveness and correction.",
      "I take responsibility instead of blame.",
      "I release myself from guilt and shame.",
      "I focus on correcting my errors, not on what I have done.",
      "Next time I'll do the righ thing.",
      "I am at peace. Judging is not going to change anything.",
      "I accept things the way they are...",
      "I created this, so I can also create the solution.",
      "I ask for inner peace. I let it go...",
      "I commit myself to atone for my conduct.",
      "I have to figure out the ways to fix this.",
      "I didn't want to do this. If I knew what I know now, I would never do this.",
      "The past has no power over me anymore",
      "I will never do something like that again.",
  });
}

std::string GetStringForNegativeSeq_PTSD() {
  return Sequence("GetStringForNegativeSeq_PTSD", {
      "I cannot stop thinking about what happened.",
      "It was so unpredictable... so uncontrollable...",
      "It's so depressing... It is so immobilizing...",
      "So many things reminds me about this ...",
      "I cannot concentrate... I feel so frightened...",
      "All this anxiety... all this shame...",
      "I keep re-living it again and again...",
      "Mistrust... Betrayal... It so sad...",
      "All these memories... flashbacks... nightmares...",
      "It feels as if it's happening again.",
      "I feel that I have no control over my life.",
      "I want to avoid this... I am always on guard.",
      "It feels so hopeless... It's so hard to sleep... It's so overwhelming...",
      "It seems that there is no future for me...",
      "I feel stuck with these painful memories...",
      "I feel so powerless, anxious and vulnerable",
      "It's so numb. I feel disconnected from myself.",
  });
}

std::string GetStringForPositiveSeq_PTSD() {
  return Sequence("GetStringForPositiveSeq_PTSD", {
      "I release the past and all these bad feelings.",
      "I'm so powerful.",
      "I have the strength to heal my body and mind.",
      "I feel that I'm at home... I'm safe.",
      "I am at ease with myself.",
      "The past has no power over me anymore.",
      "I have great future.",
      "I can cope with this and come back to my real self...",
      "I am connected to myself and others...",
      "I trust my inner wisdom...",
      "My worries don't define me... I love and I'm loved..",
      "I accept myself the way I am.",
      "I respect myself profoundly.",
      "I am focused on creating better future.",
      "I am moving on with my life.",
      "I allow myself to be happy again.",
  });
}

// clang-format on

}  // namespace serenitap::modIssues
