#pragma once

// Run on each of the window's search threads as it starts: lowers its scheduling priority, so
// that the window's own threads get the processor at once when the player does something and
// the search loses only the time they use. The engine face leaves its threads as they are: there
// the GUI decides.
void yieldToTheWindow();
