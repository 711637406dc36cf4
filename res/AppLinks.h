// Where the About box points its two links. The support address is kept in
// its two halves and joined only at run time, so that no complete e-mail
// address sits in the program file for address harvesters to find.
#ifndef ZVX_RES_APPLINKS_H
#define ZVX_RES_APPLINKS_H

namespace AppLinks {

// The maker's home page, opened in the user's browser.
inline constexpr char webAddress[] = "http://www.veltrano.com/";
// The support mailbox: supportMailbox "@" makerDomain.
inline constexpr char supportMailbox[] = "support";
inline constexpr char makerDomain[] = "veltrano.com";

}  // namespace AppLinks

#endif
