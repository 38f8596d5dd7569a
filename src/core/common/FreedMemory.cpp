#include "core/common/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>

void ReturnFreedMemory()
{
    malloc_trim(0);
}
#else
void ReturnFreedMemory() {} // other allocators return what they can by themselves
#endif
