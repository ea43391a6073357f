// The normalising of a typed or set-up site address.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/site_address.h"

namespace kelpo {
namespace {

struct AddressCase {
  std::wstring raw;
  std::wstring item;
};

TEST(NormaliseSiteAddress, TheDesignedCases) {
  const std::vector<AddressCase> cases = {
      {L"http://www.example.com/index.htm", L"http://www.example.com"},
      {L"http://www.example.com:81/app", L"http://www.example.com"},
      {L"http://host:8080/path", L"http://host"},
      {L"http://host/path", L"http://host"},
      {L"www.example.com", L"www.example.com"},
      {L"example.com/app/", L"example.com"},
      {L"host/path", L"host"},
      {L"example.com:81", L"example.com:81"},
      {L"192.168.1.20", L"192.168.1.20"},
      {L"http://", L"http://"},
      {L"", L""},
      {L"    ", L""},
      {L"  http://  host  ", L"http://host"},
      {L"  www.example.com  ", L"www.example.com"},
      {L"\thost\t", L"\thost\t"},                       // only spaces are trimmed
      {L"http://a.com/http://b", L"http://a.com"},       // every "http://" is removed first
      {L"www.a.com/http://b", L"http://www.a.com"},     // "://" not after a scheme: as designed
      {L"工具.中国/路径", L"工具.中国"},
  };
  for (const AddressCase& c : cases) EXPECT_EQ(NormaliseSiteAddress(c.raw), c.item) << "raw: " << c.raw.size();
}

TEST(NormaliseSiteAddress, HttpsKeepsItsSchemeAndAnyOtherSchemeBecomesHttp) {
  const std::vector<AddressCase> cases = {
      {L"https://secure.example.com/login", L"https://secure.example.com"},
      {L"https://secure.example.com:8443/x", L"https://secure.example.com"},
      {L"HTTPS://Secure.Example.com", L"https://Secure.Example.com"},
      {L"HtTpS://host", L"https://host"},
      {L"HTTP://www.example.com/a", L"http://www.example.com"},
      {L"Http://host:81", L"http://host"},
      {L"ftp://files.example.com/pub", L"http://files.example.com"},
      {L"svn+ssh://repo.example.com", L"http://repo.example.com"},
      {L"https://", L"https://"},
      {L"https://http://host", L"https://host"},
      {L"  https://  host ", L"https://host"},
  };
  for (const AddressCase& c : cases) EXPECT_EQ(NormaliseSiteAddress(c.raw), c.item);
}

TEST(NormaliseSiteAddress, APathIsDroppedEvenWhenItHoldsAColon) {
  EXPECT_EQ(NormaliseSiteAddress(L"http://host/a:b"), L"http://host");
  EXPECT_EQ(NormaliseSiteAddress(L"https://host/a:b"), L"https://host");
  EXPECT_EQ(NormaliseSiteAddress(L"host/a:b"), L"host");
}

TEST(NormaliseSiteAddress, OddInputStaysBounded) {
  EXPECT_EQ(NormaliseSiteAddress(L"://host"), L"http://");
  EXPECT_EQ(NormaliseSiteAddress(std::wstring(L"http://a\0b/c", 12)), std::wstring(L"http://a\0b", 10));
  const std::wstring long_host(100000, L'h');
  EXPECT_EQ(NormaliseSiteAddress(L"http://" + long_host + L"/p"), L"http://" + long_host);
}

}  // namespace
}  // namespace kelpo
