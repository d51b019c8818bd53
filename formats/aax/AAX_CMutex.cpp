#include "formats/aax/AAX_CMutex.h"

#include <new>

namespace kelmora::aax {

namespace {
bool isOwner (pthread_t owner)
{
    return owner != pthread_t() && pthread_equal (owner, pthread_self()) != 0;
}
} // namespace

AAX_CMutex::AAX_CMutex()
{
    record = new (std::nothrow) Record;
    if (record != nullptr && pthread_mutex_init (&record->mutex, nullptr) != 0)
    {
        delete record;
        record = nullptr;
    }
}

AAX_CMutex::~AAX_CMutex()
{
    if (record == nullptr)
        return;

    pthread_mutex_destroy (&record->mutex);
    delete record;
}

bool AAX_CMutex::Lock()
{
    if (record == nullptr || isOwner (record->owner.load()))
        return false;

    pthread_mutex_lock (&record->mutex);
    record->owner.store (pthread_self());
    return true;
}

void AAX_CMutex::Unlock()
{
    if (record == nullptr || ! isOwner (record->owner.load()))
        return;

    record->owner.store (pthread_t());
    pthread_mutex_unlock (&record->mutex);
}

} // namespace kelmora::aax
