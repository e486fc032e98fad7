// The one open window of a kind, kept while it lives so that the controller
// can reach it: to close it when the link goes, or to follow a language switch.
#pragma once

template <typename Window>
class OpenInstance {
public:
    // The open window, or null.
    static Window* Current() { return s_open; }

protected:
    OpenInstance() { s_open = static_cast<Window*>(this); }
    ~OpenInstance()
    {
        if (s_open == static_cast<Window*>(this)) s_open = nullptr;
    }

private:
    static inline Window* s_open = nullptr;
};
