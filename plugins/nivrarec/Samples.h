#pragma once
// The made-up replays that tools/samples/make_samples.cpp writes into
// samples/nivrarec are its series 3: each series has players, dates, scores
// and comments of its own, so that no two games' samples are alike.
#define KVP_SAMPLE_SERIES 3
