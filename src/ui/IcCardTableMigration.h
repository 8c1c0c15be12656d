#pragma once
// Sets the IC-card table's columns icxlh and fjksm to text of at most four
// characters, every time a launcher panel is created.
namespace ui {

// Runs the two column changes through the host, each whatever the other's
// outcome; a statement the host reports as failed is announced with the
// host's message 70001005. An error raised out of the host call ends the
// migration (the query object is still released) and goes to the caller.
void AlterIcCardColumns();

} // namespace ui
