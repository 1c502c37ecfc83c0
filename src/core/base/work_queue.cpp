#include "core/base/work_queue.h"

WorkQueue::WorkQueue(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    // The one thread stays up between bursts instead of being recreated for each job.
    m_pool.setExpiryTimeout(-1);
}

WorkQueue::~WorkQueue()
{
    m_pool.waitForDone();
}

void WorkQueue::post(std::function<void()> job)
{
    m_pool.start(std::move(job));
}

void WorkQueue::waitForIdle()
{
    m_pool.waitForDone();
}
