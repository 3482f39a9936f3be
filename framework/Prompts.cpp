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

}  // namespace

Prompts& Prompts::Current()
{
    Prompts* p = g_prompts.load();
    return p ? *p : g_defaultPrompts;
}

Prompts* Prompts::SetCurrent(Prompts* prompts)
{
    return g_prompts.exchange(prompts);
}
