// The fake source manager's script, kept by the test program (see twain_fake_dsm.h).
#include "sources/twain_fake_dsm.h"

quorvane::testing::FakeScript& FakeDsmScript() {
    static quorvane::testing::FakeScript script;
    return script;
}
