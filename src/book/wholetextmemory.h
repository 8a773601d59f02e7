#pragma once

// Every command that works on the whole text makes a new copy of it, several megabytes for a
// large book. The C library would hand each copy fresh pages from the system and give them back
// when it is freed, and every fresh page costs the program a fault when first written: for a
// large book more time than the work itself. Called once at start, this keeps freed copies'
// memory for the next copy instead.
void reuseMemoryOfWholeTextCopies();
