// A user at the window, as a script: types answers when a read waits, closes the frame and
// answers the save question, and notes what the window showed. It acts from a timer inside
// the host's own event loops, as a person's keys and clicks arrive.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "host/win/console_host.h"
#include "tests/host/win/modal_responder.h"

namespace kova::test_support {

// One step of the script, as written on the scripted program's command line:
//   type:TEXT        when a read waits, TEXT and Enter as key events
//   await-end        until the analysis has ended
//   await-lines:N    until the transcript holds N lines
//   close:ANSWER     close the frame; answer Yes, No or Cancel when asked to save
//   save-as:FILE     the next file dialog gets FILE typed into it
//   transcript:FILE  write the transcript's lines to FILE, each followed by LF
//   choose:ITEM      once the frame's menus hold ITEM (its text without the & marks),
//                    choose it
//   grab:FILE        once a window beside the Input/Output window is the active one, save
//                    an image of it to FILE (PNG)
//   frame-size:WxH   resize the frame to W by H pixels
//   wait:MS          let MS milliseconds of events pass (a chosen command runs meanwhile)
//   await-window:T   until a window titled T is shown beside the Input/Output window
//   front:FILE       once the frame is the active window (two seconds at most), write the
//                    active child window's title to FILE, then " with the keyboard" when
//                    the keyboard focus is inside it
//   keys:KEYS        the key sequence KEYS ("Ctrl+A") to the widget with the keyboard focus
//   sort:TITLE       click the title of the active window's table column TITLE
//   press:BUTTON     click the button BUTTON of the active window
//   clipboard:FILE   write the clipboard's text to FILE
//   await-file:FILE  until FILE exists and is not empty
struct UserAction {
  std::string verb;
  std::string argument;
};

std::vector<UserAction> ParseUserActions(const std::vector<std::string>& words);

class ScriptedUser : public QObject {
 public:
  ScriptedUser(win::ConsoleHost& host, std::vector<UserAction> actions);
  bool Finished() const { return next_ >= actions_.size(); }

 private:
  void Step();
  bool Perform(const UserAction& action);  // false: not yet, try again later

  win::ConsoleHost& host_;
  std::vector<UserAction> actions_;
  std::size_t next_ = 0;
  QElapsedTimer waited_;  // since the current wait or front began
  QTimer timer_;
  ModalResponder modals_;
};

// The transcript's lines joined by LF.
std::string TranscriptText(const host::Transcript& transcript);

}  // namespace kova::test_support
