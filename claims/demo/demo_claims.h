// Made-up claims that look like a year's work of a district office: employees of the
// education department with Punjabi names, their offices and homes in the towns of their
// district, the illness, the hospital and amounts that fit them, and decisions that older claims
// have and recent ones mostly await.
//
// Invariants: every one of the twenty districts and every status occurs; reference dates run
// from four years before `today` up to `today` itself (a few claims each on `today`, so reports
// of today's date show something) and reference numbers rise with them from 101; the same
// `today` and seed always give the same claims.
#pragma once

#include "claim_statements.h"

#include <QDate>
#include <vector>

namespace demo {

inline constexpr int kDemoClaimCount = 360;

std::vector<SampleClaim> demo_claims(const QDate& today, int count = kDemoClaimCount,
                                     unsigned seed = 2007);

} // namespace demo
