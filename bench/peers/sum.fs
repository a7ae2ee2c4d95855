\ Peer of `0 N "+" FOR`: sums 1..N.
: sum ( n -- s ) 0 swap 1+ 1 ?do i + loop ;
