use [%0:s]
if not exists (select * from master.dbo.syslogins where loginname = N'%1:s')
	exec sp_addlogin N'%1:s', N'%2:s', N'%0:s'
if not exists (select * from dbo.sysusers where name = N'%1:s' and uid < 16382)
	exec sp_grantdbaccess N'%1:s', N'%1:s'
exec sp_addrolemember N'db_datareader', N'%1:s'
exec sp_addrolemember N'db_datawriter', N'%1:s'
