// Answers the program's message boxes in tests: every box is recorded, and each Yes/No box
// takes the next scripted answer (a box nobody scripted fails the test and answers No).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "uninstaller/Uuninst.h"

struct ShownBox {
  HWND Owner;
  std::string Text;
  std::string Caption;
  UINT Style;
};

class ScriptedBoxes {
 public:
  ScriptedBoxes() {
    Current() = this;
    SetMessageBoxProc(Answer);
  }
  ~ScriptedBoxes() {
    SetMessageBoxProc(nullptr);
    Current() = nullptr;
  }
  ScriptedBoxes(const ScriptedBoxes&) = delete;
  ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

  // Queues the answers (IDYES, IDNO) of the next Yes/No boxes.
  void Answer(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  const std::vector<ShownBox>& Shown() const { return shown_; }
  // The texts of the boxes shown so far.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : shown_) texts.push_back(box.Text);
    return texts;
  }
  bool AllAnswersUsed() const { return answers_.empty(); }

 private:
  static ScriptedBoxes*& Current() {
    static ScriptedBoxes* current = nullptr;
    return current;
  }
  static int Answer(HWND owner, const std::string& text, const std::string& caption,
                    UINT style) {
    ScriptedBoxes& self = *Current();
    self.shown_.push_back({owner, text, caption, style});
    if ((style & MB_TYPEMASK) != MB_YESNO) return IDOK;
    if (self.answers_.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return IDNO;
    }
    const int answer = self.answers_.front();
    self.answers_.pop_front();
    return answer;
  }

  std::deque<int> answers_;
  std::vector<ShownBox> shown_;
};
