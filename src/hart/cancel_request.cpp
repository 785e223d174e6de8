#include "hart/cancel_request.h"

namespace hart {
namespace {

thread_local const std::atomic<bool>* t_requested = nullptr;

}  // namespace

CancelScope::CancelScope(const std::atomic<bool>& requested) : m_outer(t_requested)
{
    t_requested = &requested;
}

CancelScope::~CancelScope() { t_requested = m_outer; }

bool CancelWatched() { return t_requested != nullptr; }

bool CancelRequested() { return t_requested != nullptr && t_requested->load(); }

}  // namespace hart
