#pragma once

#include <functional>
#include <string>

namespace tarnwick {

class IParamsHost;

// The parts of the frontend the engine talks to: modal windows and the event loop.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;
    // A modal Yes/No question with the application title as caption; true for Yes.
    virtual bool AskYesNo(const std::string& strText) = 0;
    // The about box, modal.
    virtual void DoModalAbout() = 0;
    // The parameters dialog, modal.
    virtual void DoModalSettings(IParamsHost& host) = 0;
    // Brings the open parameters dialog to the front, out of the taskbar if it was minimised,
    // with whatever window it has open above it.
    virtual void RaiseSettings() = 0;
    // Tells the user something while no window of the program is open: on standard error
    // and, where the desktop has a notification server, as a notification.
    virtual void TellUser(const std::string& strText) = 0;
    // Runs fn once the current handler and everything before it in the loop is done.
    virtual void Post(std::function<void()> fn) = 0;
    // Ends the event loop once the current handler is done (an orderly exit follows).
    virtual void PostQuit() = 0;
    // True once the program has been asked to quit (a signal may arrive while a dial or
    // probe blocks the loop): work then in progress ends without acting on its outcome.
    virtual bool IsQuitRequested() const { return false; }
    // A desktop notification for a person at the machine; never waits, and does nothing
    // where the desktop has no notification service.
    virtual void Notify(const std::string& strSummary, const std::string& strBody) = 0;
};

} // namespace tarnwick
