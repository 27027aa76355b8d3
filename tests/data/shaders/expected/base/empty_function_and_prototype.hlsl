void Nothing();

void Nothing()
{
}

void main()
{
	Nothing();
	output.color = float4(0.0f);
}
