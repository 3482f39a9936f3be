#include "framework/Prompts.h"

#include <atomic>
#include <cstdio>

namespace {

class StandardErrorPrompts : public Prompts {
public:
    void Message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool Question(const std::string& text) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        return false;
    }
};

StandardErrorPrompts g_defaultPrompts;
std::atomic<Prompts*> g_prompts{nullptr};
thread_local Prompts* t_threadPrompts = nullptr;

}  // namespace

Prompts& Prompts::Current()
{
    if (t_threadPrompts) {
        return *t_threadPrompts;
    }
    Prompts* p = g_prompts.load();
    return p ? *p : g_defaultPrompts;
}

Prompts::ForThisThread::ForThisThread(Prompts& prompts) : previous_(t_threadPrompts)
{
    t_threadPrompts = &prompts;
}

Prompts::ForThisThread::~ForThisThread()
{
    t_threadPrompts = previous_;
}

Prompts* Prompts::SetCurrent(Prompts* prompts)
{
    return g_prompts.exchange(prompts);
}
