// CCardKeeper: the card's and the engine's last known settings, kept for the
// user. They are taken whenever the program reads them from the card (at
// start-up, every second while the card answers, before the system sleeps,
// and the engine's whenever its path is open) or writes them for the user, and
// kept in the [Card] section of the settings file, under the keys of a saved
// card state. When the card comes back after an absence (a driver reload) or
// the system resumes from sleep, what the card no longer holds is written
// back, once and without a question; a change another program made while the
// card was present has been taken by then, and so is kept. [Card] Restore=0
// turns the writing back off. Nothing is written back that was never kept:
// a first start has nothing to put back.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "panel/app/panel_refresh.h"
#include "panel/state/card_state.h"

class CCardKeeper : public ICardWatcher {
public:
    // The card's records are asked again every this many answers of the
    // refresh: once every five seconds, so that a change another program
    // makes is taken as the user's soon after, while the tray program's
    // hidden tick stays near one status read (on a real stack each reading
    // opens the card through SetupAPI, the greater part of its cost).
    // DirectSound's speaker configuration is not asked (it costs a
    // DirectSound object each time); it is taken with the card's writes.
    static constexpr unsigned kTakeEvery = 50;

    // show: makes the panel show what the card holds, after a return or a
    // write back.
    explicit CCardKeeper(std::function<void()> show) : m_show(std::move(show)) {}

    // Start-up, once the card check has passed: the kept settings from the
    // settings file, then what the card holds now.
    void Start(HWND panel);
    // The card's settings (and the engine's, when its path is open) taken as
    // the user's: after a write for the user, before the system sleeps.
    void TakeCard();
    // The engine's settings taken, if its path is open (after the effects window).
    void TakeEngine();
    // The system resumed from sleep: what the card no longer holds is written back.
    void OnResume();

    // The refresh: the card answered (back: after an absence).
    void OnCardAnswered(bool back) override;

    // What is kept, for tests.
    const cardstate::CardState& Kept() const { return m_kept; }
    bool Restores() const { return m_restore; }

private:
    // The parts read from the card taken as the user's (onlyNew: only what is
    // not kept yet), and stored.
    void Take(unsigned parts, bool onlyNew);
    // Writes back what the card no longer holds; true when anything was.
    bool PutBack();
    // The kept settings into the settings file, each key that changed.
    void Store();

    std::function<void()> m_show;
    HWND m_panel = nullptr;
    bool m_started = false;
    bool m_restore = true;
    bool m_rewriteSection = false;  // the section held something else: it is written anew
    cardstate::CardState m_kept;
    std::map<std::string, std::string> m_stored;  // what the section holds, key by key
    unsigned m_answers = 0;
};
