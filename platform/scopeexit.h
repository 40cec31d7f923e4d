#pragma once

#include <utility>

// Runs a function when the scope ends, however it ends (an exception included): for the
// one-off clean-ups that have no owning object of their own.
template <class F> class CScopeExit
{
public:
    explicit CScopeExit(F onExit) : m_onExit(std::move(onExit)) {}
    ~CScopeExit() { m_onExit(); }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

private:
    F m_onExit;
};
