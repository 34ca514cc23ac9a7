#pragma once
// The made-up shots that tools/samples/make_samples.cpp writes into
// samples/zoltepic are its series 1: each series has pictures and numbers of
// its own, so that no two games' samples are alike.
#define KVP_SAMPLE_SERIES 1
