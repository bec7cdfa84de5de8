#include "macros/RewriteAllMark.h"

#include <atomic>

namespace vantor {

namespace {
std::atomic<bool> g_rewriteAll{false};
}

void SetRewriteAllMark()
{
    g_rewriteAll.store(true);
}

bool RewriteAllMarkIsSet()
{
    return g_rewriteAll.load();
}

void ClearRewriteAllMark()
{
    g_rewriteAll.store(false);
}

}  // namespace vantor
