// GravityList: a fixed-capacity list of body pointers that owns nothing.
#pragma once

#include <cstdint>

#include "sim/body.h"

struct GravityList {
    uint32_t count = 0;
    uint32_t capacity = 0; // at most kMaxBodies
    GravityObject* items[kMaxBodies] = {};
};

// Empties the list; a capacity above kMaxBodies is cut down to it.
void gravityListInit(GravityList* list, uint32_t requestedCapacity);
uint32_t gravityListCount(const GravityList* list);
uint32_t gravityListCapacity(const GravityList* list);
// Appends the body and returns 0, or returns -1 and changes nothing when the list is full.
int gravityListPush(GravityList* list, GravityObject* body);
// The body at index, or null when index is not below the count.
GravityObject* gravityListGet(const GravityList* list, uint32_t index);
