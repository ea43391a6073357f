// The URL-cache walk: size probe, one block per entry, the mask, and quiet ends on failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cache/url_cache_cleaner.h"
#include "platform/runtime_error.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/sim/sim_url_cache.h"

namespace kelpo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CacheWalkTest : public ::testing::Test {
 protected:
  void Fill() {
    cache.AddEntry("http://a/", cache::kNormalEntry);
    cache.AddEntry("Cookie:user@a/", cache::kCookieEntry);
    cache.AddEntry("http://b/", cache::kNormalEntry | 0x4);
    cache.AddEntry("http://c/", 0x4);
  }
  std::vector<CacheOp> Ops() const {
    std::vector<CacheOp> ops;
    for (const CacheCall& call : cache.journal()) ops.push_back(call.op);
    return ops;
  }

  SimUrlCache cache;
  Utf8Codec codec;
  UrlCacheCleaner cleaner{cache, codec};
};

TEST_F(CacheWalkTest, CollectsTheEntriesSharingABitWithTheMaskInWalkOrder) {
  Fill();
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), ElementsAre(L"http://a/", L"http://b/"));
  EXPECT_THAT(cleaner.CollectUrls(cache::kCookieEntry), ElementsAre(L"Cookie:user@a/"));
  EXPECT_THAT(cleaner.CollectUrls(0x4 | cache::kCookieEntry),
              ElementsAre(L"Cookie:user@a/", L"http://b/", L"http://c/"));
  EXPECT_THAT(cleaner.CollectUrls(0), IsEmpty());
  EXPECT_EQ(cache.urls().size(), 4u);  // collecting deletes nothing
  EXPECT_EQ(cache.open_walk_count(), 0u);
}

TEST_F(CacheWalkTest, ProbesEachEntryThenFetchesItIntoABlockOfThatSize) {
  cache.AddEntry("http://a/", cache::kNormalEntry);
  cache.AddEntry("http://bb/", cache::kNormalEntry);
  cleaner.CollectUrls(cache::kNormalEntry);
  const std::vector<CacheCall>& calls = cache.journal();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_THAT(Ops(), ElementsAre(CacheOp::kFindFirst, CacheOp::kFindFirst, CacheOp::kFindNext,
                                 CacheOp::kFindNext, CacheOp::kFindNext, CacheOp::kCloseFind));
  EXPECT_TRUE(calls[0].probe);
  EXPECT_EQ(calls[0].size_given, 0u);
  EXPECT_EQ(calls[1].size_given, 90u);  // 80 + "http://a/" + zero
  EXPECT_EQ(calls[1].size_field, 90u);  // the record's size field holds the block's size
  EXPECT_TRUE(calls[2].probe);
  EXPECT_EQ(calls[2].size_given, 0u);
  EXPECT_EQ(calls[3].size_field, 91u);
  EXPECT_EQ(calls[4].error, cache::kNoMoreItems);
}

TEST_F(CacheWalkTest, AnEmptyCacheGivesNothingAndOpensNoWalk) {
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), IsEmpty());
  EXPECT_THAT(Ops(), ElementsAre(CacheOp::kFindFirst));
}

TEST_F(CacheWalkTest, AWalkThatCannotStartGivesNothing) {
  Fill();
  cache.InjectFault({CacheOp::kFindFirst, L"", false, 5, 0, 1});  // the probe fails otherwise
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), IsEmpty());
  cache.InjectFault({CacheOp::kFindFirst, L"", false, 6, 1, 1});  // the fetch fails
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), IsEmpty());
  EXPECT_EQ(cache.open_walk_count(), 0u);
}

TEST_F(CacheWalkTest, AnEntryThatGrowsAfterItsProbeEndsTheWalkThere) {
  Fill();
  cache.GrowAfterProbe("http://b/", 16);
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry | cache::kCookieEntry),
              ElementsAre(L"http://a/", L"Cookie:user@a/"));
  EXPECT_EQ(cache.journal().back().op, CacheOp::kCloseFind);
  EXPECT_EQ(cache.open_walk_count(), 0u);
}

TEST_F(CacheWalkTest, AFailedNextEndsTheWalkWithWhatWasCollected) {
  Fill();
  cache.InjectFault({CacheOp::kFindNext, L"http://b/", false, 5, 1, 1});  // the fetch, not the probe
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), ElementsAre(L"http://a/"));
  EXPECT_EQ(cache.open_walk_count(), 0u);
}

TEST_F(CacheWalkTest, ARunTimeErrorPropagatesButTheWalkIsClosed) {
  Fill();
  cache.InjectFault({CacheOp::kFindNext, L"", true, 5, 0, 1});
  EXPECT_THROW(cleaner.CollectUrls(cache::kNormalEntry), RuntimeError);
  EXPECT_EQ(cache.open_walk_count(), 0u);
}

TEST_F(CacheWalkTest, DeleteReportsWhetherTheEntryWentAway) {
  Fill();
  EXPECT_TRUE(cleaner.DeleteEntry(L"http://a/"));
  EXPECT_FALSE(cleaner.DeleteEntry(L"http://a/"));
  EXPECT_THAT(cache.urls(), ElementsAre("Cookie:user@a/", "http://b/", "http://c/"));
}

TEST_F(CacheWalkTest, ClearingDeletesNormalEntriesThenCookiesAndSkipsOnesThatStay) {
  Fill();
  cache.InjectFault({CacheOp::kDeleteEntry, L"http://a/"});
  EXPECT_FALSE(cleaner.Clear());
  EXPECT_THAT(cache.urls(), ElementsAre("http://a/", "http://c/"));
  std::vector<std::string> deleted;
  for (const CacheCall& call : cache.journal())
    if (call.op == CacheOp::kDeleteEntry) deleted.push_back(call.url);
  EXPECT_THAT(deleted, ElementsAre("http://a/", "http://b/", "Cookie:user@a/"));
}

TEST_F(CacheWalkTest, ARecordWhoseUrlLiesOutsideItsBlockIsPassedOverAndNothingIsDeletedForIt) {
  Fill();
  cache.PointUrlOutsideBlock("http://a/");
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), ElementsAre(L"http://b/"));
  EXPECT_TRUE(cleaner.Clear());
  std::vector<std::string> deleted;
  for (const CacheCall& call : cache.journal())
    if (call.op == CacheOp::kDeleteEntry) deleted.push_back(call.url);
  EXPECT_THAT(deleted, ElementsAre("http://b/", "Cookie:user@a/"));
  EXPECT_THAT(cache.urls(), ElementsAre("http://a/", "http://c/"));
}

TEST_F(CacheWalkTest, AUrlIsReadUpToItsZeroThroughTheCodec) {
  cache.AddEntry("http://\xE4\xB8\xAD.example/", cache::kNormalEntry);  // UTF-8 in the test's code page
  EXPECT_THAT(cleaner.CollectUrls(cache::kNormalEntry), ElementsAre(L"http://中.example/"));
}

}  // namespace
}  // namespace kelpo
