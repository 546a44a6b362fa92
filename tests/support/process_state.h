#pragma once

namespace lanxun::test {

// Puts every process-wide value back to how the program starts: no login, no
// server lines, no loop modes, no cookies, the real services. The test main
// runs it after every test, so no test leaks state into the next; a test that
// needs a clean slate halfway may call it too.
void ResetProcessState();

}  // namespace lanxun::test
