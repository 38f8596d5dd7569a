#pragma once

// Gives the pages of memory freed since, where the allocator keeps them, back to the
// system: after a large passing structure (a catalogue's directory listings) whose holes
// would otherwise stay resident under what is allocated next.
void ReturnFreedMemory();
