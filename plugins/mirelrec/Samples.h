#pragma once
// The made-up replays that tools/samples/make_samples.cpp writes into
// samples/mirelrec are its series 1: each series has players, dates, scores
// and comments of its own, so that no two games' samples are alike.
#define KVP_SAMPLE_SERIES 1
