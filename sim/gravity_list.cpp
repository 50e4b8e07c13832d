// The list operations: init, count, capacity, push (-1 when full) and get (null out of range).
#include "sim/gravity_list.h"

void gravityListInit(GravityList* list, uint32_t requestedCapacity) {
    list->count = 0;
    list->capacity = requestedCapacity < kMaxBodies ? requestedCapacity : kMaxBodies;
}

uint32_t gravityListCount(const GravityList* list) {
    return list->count;
}

uint32_t gravityListCapacity(const GravityList* list) {
    return list->capacity;
}

int gravityListPush(GravityList* list, GravityObject* body) {
    if (list->count >= list->capacity) {
        return -1;
    }
    list->items[list->count] = body;
    list->count += 1;
    return 0;
}

GravityObject* gravityListGet(const GravityList* list, uint32_t index) {
    return index < list->count ? list->items[index] : nullptr;
}
